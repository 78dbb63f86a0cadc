// The run loop tells its activity observer what it served: each timer that fired, each readable
// source with its descriptor, each batch of posted tasks; and nothing while it only waited.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/RunLoop.h"

namespace {

using platform::foundation::Activity;
using platform::foundation::Repeats;
using platform::foundation::RunLoop;

struct Pipe {
    int read_end{-1};
    int write_end{-1};
    Pipe() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
            read_end = fds[0];
            write_end = fds[1];
        }
    }
    ~Pipe() {
        close(read_end);
        close(write_end);
    }
    void drain() const {
        char buffer[64];
        while (read(read_end, buffer, sizeof buffer) > 0) {
        }
    }
};

class RunLoopActivity : public ::testing::Test {
  protected:
    void SetUp() override {
        loop_.use_virtual_clock(0);
        loop_.set_activity_observer([this](Activity activity, int fd) { seen_.emplace_back(activity, fd); });
    }
    RunLoop loop_;
    std::vector<std::pair<Activity, int>> seen_;
};

TEST_F(RunLoopActivity, EachServedThingIsToldAfterItRan) {
    std::vector<std::string> order;
    loop_.set_activity_observer([&](Activity activity, int fd) {
        seen_.emplace_back(activity, fd);
        order.push_back("told");
    });
    Pipe pipe;
    ASSERT_GE(pipe.read_end, 0);
    loop_.add_source(pipe.read_end, [&] {
        pipe.drain();
        order.push_back("source");
    });
    loop_.add_timer(1.0, Repeats::No, [&] { order.push_back("timer"); });
    loop_.post([&] { order.push_back("posted"); });
    loop_.post([&] { order.push_back("posted"); });
    ASSERT_EQ(write(pipe.write_end, "x", 1), 1);
    loop_.advance(1.0);

    const std::vector<std::pair<Activity, int>> expected = {
        {Activity::Posted, -1}, // both tasks of a batch, told once
        {Activity::Source, pipe.read_end},
        {Activity::Timer, -1},
    };
    EXPECT_EQ(seen_, expected);
    EXPECT_EQ(order,
              (std::vector<std::string>{"posted", "posted", "told", "source", "told", "timer", "told"}));
    loop_.remove_source(pipe.read_end);
}

TEST_F(RunLoopActivity, WaitingWithNothingToServeTellsNothing) {
    Pipe pipe;
    loop_.add_source(pipe.read_end, [&] { pipe.drain(); });
    loop_.add_timer(10.0, Repeats::No, [] {});
    loop_.advance(5.0);
    loop_.run_once(0);
    EXPECT_TRUE(seen_.empty());
    loop_.remove_source(pipe.read_end);
}

TEST_F(RunLoopActivity, ARepeatingTimerIsToldAtEveryFiring) {
    int fired = 0;
    auto id = loop_.add_timer(0.5, Repeats::Yes, [&] { ++fired; });
    loop_.advance(2.0);
    loop_.cancel_timer(id);
    EXPECT_EQ(fired, 4);
    EXPECT_EQ(seen_, (std::vector<std::pair<Activity, int>>(4, {Activity::Timer, -1})));
}

TEST_F(RunLoopActivity, AWritableSourceIsNoActivity) {
    // A writer handing on what a full socket would not take changes nothing the process shows.
    Pipe pipe;
    int calls = 0;
    loop_.add_writable_source(pipe.write_end, [&] {
        ++calls;
        loop_.remove_writable_source(pipe.write_end);
    });
    loop_.run_once(0);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(seen_.empty());
}

} // namespace
