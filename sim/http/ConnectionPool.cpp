#include "sim/http/ConnectionPool.h"

namespace zimtone::http {

ConnectionPool::~ConnectionPool() {
    shutdown();
}

void ConnectionPool::enqueue(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    if (tasks_.size() > idle_ && workers_.size() < max_workers_)
        workers_.emplace_back([this] { work(); });
    wake_.notify_one();
}

void ConnectionPool::shutdown() {
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(mutex_);
        shutting_down_ = true;
        workers.swap(workers_);
    }
    wake_.notify_all();
    for (auto& worker : workers)
        worker.join();
}

size_t ConnectionPool::workers() const {
    std::lock_guard lock(mutex_);
    return workers_.size();
}

void ConnectionPool::work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            ++idle_;
            wake_.wait(lock, [this] { return !tasks_.empty() || shutting_down_; });
            --idle_;
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

} // namespace zimtone::http
