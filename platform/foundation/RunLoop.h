// The run loop of a thread: timers ordered by fire date, readable and writable file descriptors,
// and tasks posted from other threads.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/runtime/Object.h"

namespace platform::foundation {

enum class Repeats { No, Yes };

// What the loop has just served, as its activity observer is told.
enum class Activity { Timer, Source, Posted };

using TimerId = uint64_t;

// The objects a timer keeps alive while it is scheduled; both are shown in snapshots.
struct TimerObjects {
    runtime::Ref<runtime::Object> holder; // the NSTimer object of an NSTimer
    runtime::Ref<runtime::Object> target;
};

// One scheduled timer as seen from outside, for tests and host dumps.
struct TimerSnapshot {
    TimerId id{0};
    double fire_date{0.0};
    double interval{0.0};
    Repeats repeats{Repeats::No};
    runtime::Ref<runtime::Object> holder;
    runtime::Ref<runtime::Object> target;
};

// Drives one thread's work. `RunLoop::main()` is the loop of the process's main thread, and its
// clock is the one clock of the process. Every method may be called from any thread; callbacks
// run on the thread that runs the loop, and `post` is how other threads hand work to it.
//
// A repeating timer is rescheduled from its previous fire date, so it never drifts; when the
// loop was held up past several fire dates, the missed ones are skipped. Intervals below
// 0.1 ms are raised to 0.1 ms so that a timer can never starve the loop.
//
// With a virtual clock, timers fire only as `advance` (or `run_for`) moves time, each at its own
// due time; posted tasks and file descriptors are served as with the real clock.
class RunLoop {
  public:
    using Callback = std::function<void()>;
    static constexpr double kMinimumInterval = 0.0001;
    static constexpr double kForever = std::numeric_limits<double>::infinity();

    RunLoop();
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    static RunLoop& main();

    double now() const { return clock_.now(); }
    bool clock_is_virtual() const { return clock_.is_virtual(); }
    void use_virtual_clock(double start);
    void use_real_clock();
    // Moves virtual time forward, firing every timer that falls due in fire-date order with
    // the clock set to its due time; posted tasks and readable sources are served before and after.
    void advance(double seconds);

    TimerId add_timer(double interval, Repeats repeats, Callback on_fire, TimerObjects objects = {});
    // Unschedules a timer; it never fires again, also when cancelled from a timer callback.
    void cancel_timer(TimerId id);
    std::optional<double> fire_date(TimerId id) const;
    // The scheduled timers in fire-date order.
    std::vector<TimerSnapshot> timers() const;

    // Calls on_readable whenever fd is readable (or at end of file) until the source is removed.
    // A second source on the same fd replaces the first.
    void add_source(int fd, Callback on_readable);
    void remove_source(int fd);
    // Calls on_writable whenever fd can take more bytes (or its other end is gone) until the
    // source is removed: how a writer hands on what a full socket would not take. Independent of
    // a readable source on the same fd.
    void add_writable_source(int fd, Callback on_writable);
    void remove_writable_source(int fd);

    // Runs the task on the loop's thread, in posting order.
    void post(Callback task);

    // Told on the loop's thread after each timer fired, each readable source was served (with
    // its descriptor; -1 otherwise) and each batch of posted tasks ran: how a process learns that
    // its state may have changed without asking every part of it. Set before the loop runs.
    using ActivityObserver = std::function<void(Activity activity, int fd)>;
    void set_activity_observer(ActivityObserver observer) { activity_observer_ = std::move(observer); }

    // Serves whatever is ready, waiting at most max_wait seconds for something to happen.
    void run_once(double max_wait);
    // Real clock: serves the loop for that long. Virtual clock: advances time by that much.
    void run_for(double seconds);
    // Serves the loop until done() holds or timeout real seconds pass; answers done().
    bool run_until(const std::function<bool()>& done, double timeout);
    // Serves the loop until stop(). A stop requested before run() makes it return at once.
    void run();
    // Async-signal-safe, so hosts may call it from a signal handler.
    void stop();

  private:
    struct Timer {
        double interval{0.0};
        Repeats repeats{Repeats::No};
        std::shared_ptr<Callback> on_fire;
        TimerObjects objects;
        double anchor{0.0}; // first fire date; later ones are anchor + n * interval
        uint64_t fired{0};
        double fire_date{0.0};
    };
    struct Source {
        uint64_t generation{0};
        std::shared_ptr<Callback> on_ready;
    };
    using Sources = std::map<int, Source>;

    bool fire_next_due(double limit);
    void serve_ready(double wait);
    void run_posted();
    void poll_sources(double wait);
    void add_to(Sources& sources, int fd, Callback on_ready);
    void remove_from(Sources& sources, int fd);
    double next_fire_date() const;
    void wake();

    Clock clock_;
    mutable std::mutex lock_;
    std::map<TimerId, Timer> timers_;
    std::set<std::pair<double, TimerId>> schedule_;
    TimerId next_timer_id_{1};
    Sources sources_;
    Sources writable_sources_;
    uint64_t next_generation_{1};
    std::deque<Callback> posted_;
    int wake_fd_{-1};
    std::atomic<bool> stop_requested_{false};
    ActivityObserver activity_observer_;
};

} // namespace platform::foundation
