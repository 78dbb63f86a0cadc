// The workers of a page's connections: a connection that holds its worker never keeps another
// waiting while the pool may grow, and the pool never grows past its bound.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "sim/http/ConnectionPool.h"

namespace {

using namespace std::chrono_literals;
using zimtone::http::ConnectionPool;

// Tasks that hold their worker until released.
class Gate {
  public:
    void hold() {
        std::unique_lock lock(mutex_);
        ++holding_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool wait_for_holders(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 30s, [&] { return holding_ >= count; });
    }
    int holding() {
        std::lock_guard lock(mutex_);
        return holding_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int holding_{0};
    bool open_{false};
};

TEST(ConnectionPool, AHeldWorkerNeverKeepsTheNextTaskWaiting) {
    ConnectionPool pool(64);
    Gate gate;
    for (int i = 0; i < 50; ++i)
        pool.enqueue([&] { gate.hold(); });
    ASSERT_TRUE(gate.wait_for_holders(50));
    std::atomic<bool> ran{false};
    pool.enqueue([&] { ran = true; });
    for (auto until = std::chrono::steady_clock::now() + 30s;
         !ran && std::chrono::steady_clock::now() < until;)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(ran);
    gate.open();
    pool.shutdown();
}

TEST(ConnectionPool, BeyondItsBoundTasksWaitTheirTurnAndAllRun) {
    ConnectionPool pool(3);
    Gate gate;
    std::atomic<int> finished{0};
    for (int i = 0; i < 5; ++i)
        pool.enqueue([&] {
            gate.hold();
            ++finished;
        });
    ASSERT_TRUE(gate.wait_for_holders(3));
    std::this_thread::sleep_for(100ms); // room for a fourth worker, were there one
    EXPECT_EQ(pool.workers(), 3u);
    EXPECT_EQ(gate.holding(), 3);
    gate.open();
    pool.shutdown();
    EXPECT_EQ(finished, 5);
}

} // namespace
