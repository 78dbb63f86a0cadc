// The workers that serve a page's connections. cpp-httplib's own pool has a fixed handful of
// threads, so a few clients that connect and stay quiet take the page away from everyone else.
// Here a connection that finds no idle worker gets a new one, up to a bound; only beyond it do
// connections wait their turn.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zimtone::http {

class ConnectionPool : public httplib::TaskQueue {
  public:
    explicit ConnectionPool(size_t max_workers) : max_workers_(max_workers) {}
    ~ConnectionPool() override;

    void enqueue(std::function<void()> task) override;
    // Runs the tasks already queued, then joins every worker.
    void shutdown() override;

    size_t workers() const;

  private:
    void work();

    const size_t max_workers_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::vector<std::thread> workers_;
    size_t idle_{0};
    bool shutting_down_{false};
};

} // namespace zimtone::http
