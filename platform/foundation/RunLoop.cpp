#include "platform/foundation/RunLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace platform::foundation {

namespace {

// Fire dates built as anchor + n * interval carry rounding error; a nanosecond of slack keeps
// "advance by three intervals" firing three times.
constexpr double kDueTolerance = 1e-9;

void report(const char* message) {
    std::fprintf(stderr, "zimtone run loop: %s\n", message);
}

int poll_timeout_ms(double wait) {
    if (!(wait > 0))
        return 0;
    if (std::isinf(wait))
        return -1;
    double ms = std::ceil(wait * 1000.0); // rounding up never wakes a timer early
    return ms >= INT_MAX ? INT_MAX : static_cast<int>(ms);
}

} // namespace

RunLoop::RunLoop() : wake_fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (wake_fd_ < 0)
        report("cannot create the wake-up event; posted tasks wait for the next pass");
}

RunLoop::~RunLoop() {
    if (wake_fd_ >= 0)
        close(wake_fd_);
}

RunLoop& RunLoop::main() {
    static auto* loop = new RunLoop; // never destroyed: callbacks may still run while the process exits
    return *loop;
}

void RunLoop::use_virtual_clock(double start) {
    clock_.use_virtual(start);
}
void RunLoop::use_real_clock() {
    clock_.use_real();
}

void RunLoop::advance(double seconds) {
    if (!clock_.is_virtual()) {
        report("advance needs the virtual clock; ignored");
        return;
    }
    if (!(seconds >= 0) || std::isinf(seconds)) {
        report("advance needs a finite, non-negative number of seconds; ignored");
        return;
    }
    serve_ready(0);
    double until = now() + seconds;
    while (fire_next_due(until)) {
    }
    clock_.set_virtual_now(until);
    serve_ready(0);
}

TimerId RunLoop::add_timer(double interval, Repeats repeats, Callback on_fire, TimerObjects objects) {
    Timer timer;
    timer.interval = interval >= kMinimumInterval ? interval : kMinimumInterval; // NaN included
    timer.repeats = repeats;
    timer.on_fire = std::make_shared<Callback>(std::move(on_fire));
    timer.objects = std::move(objects);
    std::lock_guard guard(lock_);
    TimerId id = next_timer_id_++;
    timer.anchor = clock_.now() + timer.interval;
    timer.fire_date = timer.anchor;
    schedule_.emplace(timer.fire_date, id);
    timers_.emplace(id, std::move(timer));
    return id;
}

void RunLoop::cancel_timer(TimerId id) {
    std::optional<Timer> cancelled; // released after the lock, since releasing may cancel others
    {
        std::lock_guard guard(lock_);
        auto it = timers_.find(id);
        if (it == timers_.end())
            return;
        schedule_.erase({it->second.fire_date, id});
        cancelled = std::move(it->second);
        timers_.erase(it);
    }
}

std::optional<double> RunLoop::fire_date(TimerId id) const {
    std::lock_guard guard(lock_);
    auto it = timers_.find(id);
    if (it == timers_.end())
        return std::nullopt;
    return it->second.fire_date;
}

std::vector<TimerSnapshot> RunLoop::timers() const {
    std::lock_guard guard(lock_);
    std::vector<TimerSnapshot> out;
    for (auto& [date, id] : schedule_) {
        const Timer& t = timers_.at(id);
        out.push_back({id, date, t.interval, t.repeats, t.objects.holder, t.objects.target});
    }
    return out;
}

bool RunLoop::fire_next_due(double limit) {
    std::shared_ptr<Callback> on_fire;
    runtime::Ref<runtime::Object> holder, target; // keep both alive through the callback
    std::optional<Timer> finished;
    {
        std::lock_guard guard(lock_);
        if (schedule_.empty())
            return false;
        auto [date, id] = *schedule_.begin();
        if (date > limit + kDueTolerance)
            return false;
        schedule_.erase(schedule_.begin());
        if (clock_.is_virtual())
            clock_.set_virtual_now(date);
        auto it = timers_.find(id);
        Timer& timer = it->second;
        on_fire = timer.on_fire;
        holder = timer.objects.holder;
        target = timer.objects.target;
        if (timer.repeats == Repeats::Yes) {
            double interval = timer.interval;
            double current = clock_.now();
            uint64_t n = timer.fired + 1;
            if (timer.anchor + static_cast<double>(n) * interval <= current + kDueTolerance) {
                // Held up past later fire dates: skip to the first one still ahead.
                n = static_cast<uint64_t>(std::floor((current - timer.anchor) / interval)) + 1;
                while (timer.anchor + static_cast<double>(n) * interval <= current + kDueTolerance)
                    ++n;
            }
            timer.fired = n;
            timer.fire_date = timer.anchor + static_cast<double>(n) * interval;
            schedule_.emplace(timer.fire_date, id);
        } else {
            finished = std::move(timer);
            timers_.erase(it);
        }
    }
    if (*on_fire)
        (*on_fire)();
    if (activity_observer_)
        activity_observer_(Activity::Timer, -1);
    return true;
}

void RunLoop::add_source(int fd, Callback on_readable) {
    add_to(sources_, fd, std::move(on_readable));
}

void RunLoop::remove_source(int fd) {
    remove_from(sources_, fd);
}

void RunLoop::add_writable_source(int fd, Callback on_writable) {
    add_to(writable_sources_, fd, std::move(on_writable));
}

void RunLoop::remove_writable_source(int fd) {
    remove_from(writable_sources_, fd);
}

void RunLoop::add_to(Sources& sources, int fd, Callback on_ready) {
    if (fd < 0) {
        report("a source needs an open file descriptor; ignored");
        return;
    }
    Source replaced;
    {
        std::lock_guard guard(lock_);
        Source& source = sources[fd];
        replaced = std::move(source);
        source.generation = next_generation_++;
        source.on_ready = std::make_shared<Callback>(std::move(on_ready));
    }
    wake(); // a loop blocked in poll must start watching the new descriptor
}

void RunLoop::remove_from(Sources& sources, int fd) {
    Source removed;
    {
        std::lock_guard guard(lock_);
        auto it = sources.find(fd);
        if (it == sources.end())
            return;
        removed = std::move(it->second);
        sources.erase(it);
    }
    wake();
}

void RunLoop::post(Callback task) {
    {
        std::lock_guard guard(lock_);
        posted_.push_back(std::move(task));
    }
    wake();
}

void RunLoop::wake() {
    if (wake_fd_ < 0)
        return;
    uint64_t one = 1;
    // A full counter already means "wake up", so a failed write loses nothing.
    [[maybe_unused]] ssize_t written = write(wake_fd_, &one, sizeof one);
}

void RunLoop::run_posted() {
    std::deque<Callback> batch;
    {
        std::lock_guard guard(lock_);
        batch.swap(posted_);
    }
    for (auto& task : batch)
        if (task)
            task();
    if (!batch.empty() && activity_observer_)
        activity_observer_(Activity::Posted, -1);
}

double RunLoop::next_fire_date() const {
    std::lock_guard guard(lock_);
    return schedule_.empty() ? kForever : schedule_.begin()->first;
}

void RunLoop::serve_ready(double wait) {
    bool real = !clock_.is_virtual();
    run_posted();
    if (real) {
        double limit = now();
        while (fire_next_due(limit)) {
        }
        wait = std::min(wait, next_fire_date() - now());
    }
    {
        std::lock_guard guard(lock_);
        if (!posted_.empty())
            wait = 0;
    }
    poll_sources(wait);
    run_posted();
    if (real) {
        double limit = now();
        while (fire_next_due(limit)) {
        }
    }
}

void RunLoop::poll_sources(double wait) {
    std::vector<pollfd> fds;
    std::vector<std::pair<Sources*, uint64_t>> watched; // the source of each entry after the first
    fds.push_back({wake_fd_, POLLIN, 0});
    {
        std::lock_guard guard(lock_);
        for (auto& [fd, source] : sources_) {
            fds.push_back({fd, POLLIN, 0});
            watched.emplace_back(&sources_, source.generation);
        }
        for (auto& [fd, source] : writable_sources_) {
            fds.push_back({fd, POLLOUT, 0});
            watched.emplace_back(&writable_sources_, source.generation);
        }
    }
    int ready = poll(fds.data(), fds.size(), poll_timeout_ms(wait));
    if (ready <= 0)
        return; // timeout, or a signal cut the wait short
    if (fds[0].revents & POLLIN) {
        uint64_t count;
        [[maybe_unused]] ssize_t drained = read(wake_fd_, &count, sizeof count);
    }
    for (size_t i = 1; i < fds.size(); ++i) {
        if (fds[i].revents == 0)
            continue;
        auto [sources, generation] = watched[i - 1];
        std::shared_ptr<Callback> on_ready;
        Source closed;
        {
            std::lock_guard guard(lock_);
            auto it = sources->find(fds[i].fd);
            if (it == sources->end() || it->second.generation != generation)
                continue; // removed meanwhile
            if (fds[i].revents & POLLNVAL) {
                closed = std::move(it->second);
                sources->erase(it);
            } else {
                on_ready = it->second.on_ready;
            }
        }
        if (!on_ready) {
            report("a source's file descriptor was closed while registered; source removed");
            continue;
        }
        if (*on_ready)
            (*on_ready)();
        if (sources == &sources_ && activity_observer_)
            activity_observer_(Activity::Source, fds[i].fd);
    }
}

void RunLoop::run_once(double max_wait) {
    serve_ready(max_wait);
}

void RunLoop::run_for(double seconds) {
    if (clock_.is_virtual()) {
        advance(seconds);
        return;
    }
    double deadline = now() + seconds;
    for (double remaining = seconds; remaining > 0; remaining = deadline - now())
        serve_ready(remaining);
}

bool RunLoop::run_until(const std::function<bool()>& done, double timeout) {
    double deadline = Clock::steady_seconds() + (timeout >= 0 ? timeout : 0);
    while (!done()) {
        double remaining = deadline - Clock::steady_seconds();
        if (remaining <= 0)
            return done();
        serve_ready(remaining);
    }
    return true;
}

void RunLoop::run() {
    while (!stop_requested_.load(std::memory_order_acquire))
        serve_ready(kForever);
    stop_requested_.store(false, std::memory_order_release);
}

void RunLoop::stop() {
    stop_requested_.store(true, std::memory_order_release);
    wake();
}

} // namespace platform::foundation
