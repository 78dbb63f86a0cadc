// Run loop behaviour: timers on the virtual clock, file-descriptor sources, posted tasks, stop.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/runtime/Runtime.h"

using namespace platform::foundation;
using namespace platform::runtime;

namespace {

constexpr double kStart = 100.0;

// Counts live instances, so a test sees exactly when the loop lets an object go.
class Tracked : public NSObject {
  public:
    static inline int alive = 0;
    Tracked() { ++alive; }
    ~Tracked() override { --alive; }
    static Class runtime_class() {
        static Class cls = ClassBuilder<Tracked>("RunLoopTestTracked", NSObject::runtime_class()).get();
        return cls;
    }
};

struct Pipe {
    int read_end{-1};
    int write_end{-1};
    Pipe() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
            std::abort();
        read_end = fds[0];
        write_end = fds[1];
    }
    ~Pipe() {
        if (read_end >= 0)
            close(read_end);
        if (write_end >= 0)
            close(write_end);
    }
    void send(char c) const { ASSERT_EQ(write(write_end, &c, 1), 1); }
    std::string drain() const {
        std::string got;
        char buffer[64];
        for (ssize_t n; (n = read(read_end, buffer, sizeof buffer)) > 0;)
            got.append(buffer, n);
        return got;
    }
};

struct FiringCase {
    const char* name;
    double interval;
    Repeats repeats;
    std::vector<double> steps;        // successive advances of the virtual clock
    std::vector<double> fire_offsets; // expected clock readings at each firing, from the start
};
void PrintTo(const FiringCase& c, std::ostream* out) {
    *out << c.name;
}

class RunLoopFiring : public ::testing::TestWithParam<FiringCase> {};

} // namespace

TEST_P(RunLoopFiring, FiresEachTimeAtItsOwnDueTime) {
    const FiringCase& c = GetParam();
    RunLoop loop;
    loop.use_virtual_clock(kStart);
    std::vector<double> fired_at;
    loop.add_timer(c.interval, c.repeats, [&] { fired_at.push_back(loop.now()); });
    for (double step : c.steps)
        loop.advance(step);

    ASSERT_EQ(fired_at.size(), c.fire_offsets.size());
    for (size_t i = 0; i < fired_at.size(); ++i)
        EXPECT_NEAR(fired_at[i], kStart + c.fire_offsets[i], 1e-9) << i;
    double total = 0;
    for (double step : c.steps)
        total += step;
    EXPECT_NEAR(loop.now(), kStart + total, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    VirtualClock, RunLoopFiring,
    ::testing::Values(
        FiringCase{"RepeatingHalfSecondOncePerHalfSecond", 0.5, Repeats::Yes, {0.5}, {0.5}},
        FiringCase{"RepeatingHalfSecondTwiceInOneSecond", 0.5, Repeats::Yes, {1.0}, {0.5, 1.0}},
        FiringCase{
            "RepeatingKeepsItsPhaseAcrossUnevenSteps", 0.5, Repeats::Yes, {0.3, 0.3, 0.3, 0.3}, {0.5, 1.0}},
        FiringCase{"RepeatingNotYetDue", 0.5, Repeats::Yes, {0.49}, {}},
        FiringCase{"OneShotFiresOnceOnly", 0.5, Repeats::No, {2.0, 3.0}, {0.5}},
        FiringCase{"TenthsAddUpDespiteRounding", 0.1, Repeats::Yes, {0.3}, {0.1, 0.2, 0.3}},
        FiringCase{"ZeroIntervalRaisedToTheMinimum", 0.0, Repeats::No, {0.00005, 0.00005}, {0.0001}},
        FiringCase{"NaNIntervalRaisedToTheMinimum", std::nan(""), Repeats::No, {0.001}, {0.0001}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunLoopTimers, SeveralTimersFireInFireDateOrder) {
    RunLoop loop;
    loop.use_virtual_clock(0);
    std::vector<std::pair<char, double>> fired;
    auto record = [&](char label) { return [&, label] { fired.emplace_back(label, loop.now()); }; };
    loop.add_timer(0.3, Repeats::No, record('A'));
    loop.add_timer(0.2, Repeats::Yes, record('B'));
    loop.add_timer(0.25, Repeats::No, record('C'));
    loop.add_timer(0.2, Repeats::No, record('D')); // ties go by age

    loop.advance(0.6);

    std::vector<std::pair<char, double>> expected{{'B', 0.2}, {'D', 0.2}, {'C', 0.25},
                                                  {'A', 0.3}, {'B', 0.4}, {'B', 0.6}};
    ASSERT_EQ(fired.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fired[i].first, expected[i].first) << i;
        EXPECT_NEAR(fired[i].second, expected[i].second, 1e-9) << i;
    }
}

TEST(RunLoopTimers, CancelledFromItsOwnCallbackNeverFiresAgain) {
    RunLoop loop;
    loop.use_virtual_clock(0);
    int fired = 0;
    TimerId id = 0;
    id = loop.add_timer(0.5, Repeats::Yes, [&] {
        if (++fired == 2)
            loop.cancel_timer(id);
    });
    loop.advance(5.0);
    EXPECT_EQ(fired, 2);
    EXPECT_TRUE(loop.timers().empty());
    EXPECT_FALSE(loop.fire_date(id).has_value());
}

TEST(RunLoopTimers, CancelledByAnotherTimerNeverFires) {
    RunLoop loop;
    loop.use_virtual_clock(0);
    int victim_fired = 0;
    TimerId victim = 0;
    // Due at the same moment as the victim and older, so it runs first and cancels it.
    loop.add_timer(0.5, Repeats::No, [&] { loop.cancel_timer(victim); });
    victim = loop.add_timer(0.5, Repeats::Yes, [&] { ++victim_fired; });
    loop.advance(3.0);
    EXPECT_EQ(victim_fired, 0);
}

TEST(RunLoopTimers, TimerAddedByACallbackFiresWithinTheSameAdvance) {
    RunLoop loop;
    loop.use_virtual_clock(0);
    double inner_fired_at = -1;
    loop.add_timer(0.5, Repeats::No,
                   [&] { loop.add_timer(0.3, Repeats::No, [&] { inner_fired_at = loop.now(); }); });
    loop.advance(1.0);
    EXPECT_NEAR(inner_fired_at, 0.8, 1e-9);
}

TEST(RunLoopTimers, SnapshotListsTimersInFireOrderAndHoldsTheirObjects) {
    RunLoop loop;
    loop.use_virtual_clock(10);
    {
        auto holder = make_object<Tracked>();
        auto target = make_object<Tracked>();
        loop.add_timer(2.0, Repeats::No, [] {}, {holder, target});
        loop.add_timer(0.5, Repeats::Yes, [] {});
        ASSERT_EQ(Tracked::alive, 2);

        auto snapshot = loop.timers();
        ASSERT_EQ(snapshot.size(), 2u);
        EXPECT_DOUBLE_EQ(snapshot[0].fire_date, 10.5);
        EXPECT_DOUBLE_EQ(snapshot[0].interval, 0.5);
        EXPECT_EQ(snapshot[0].repeats, Repeats::Yes);
        EXPECT_EQ(snapshot[0].target.get(), nullptr);
        EXPECT_DOUBLE_EQ(snapshot[1].fire_date, 12.0);
        EXPECT_EQ(snapshot[1].holder.get(), holder.get());
        EXPECT_EQ(snapshot[1].target.get(), target.get());
    }
    EXPECT_EQ(Tracked::alive, 2) << "a scheduled timer keeps its holder and target";
    loop.advance(2.0);
    EXPECT_EQ(Tracked::alive, 0) << "a fired one-shot timer lets both go";
    ASSERT_EQ(loop.timers().size(), 1u);
    loop.cancel_timer(loop.timers()[0].id);
    EXPECT_TRUE(loop.timers().empty());
}

TEST(RunLoopTimers, AdvanceRefusesStepsThatAreNotFiniteAndForward) {
    RunLoop loop;
    loop.use_virtual_clock(5);
    int fired = 0;
    loop.add_timer(0.5, Repeats::Yes, [&] { ++fired; });
    for (double step : {-1.0, std::nan(""), double(INFINITY)}) {
        loop.advance(step);
        EXPECT_DOUBLE_EQ(loop.now(), 5.0) << step;
    }
    EXPECT_EQ(fired, 0);
}

TEST(RunLoopTimers, RunForMovesTheVirtualClock) {
    RunLoop loop;
    loop.use_virtual_clock(0);
    int fired = 0;
    loop.add_timer(0.5, Repeats::Yes, [&] { ++fired; });
    loop.run_for(1.0);
    EXPECT_EQ(fired, 2);
    EXPECT_DOUBLE_EQ(loop.now(), 1.0);
}

TEST(RunLoopTimers, RealClockFiresADueTimer) {
    RunLoop loop;
    bool fired = false;
    loop.add_timer(0.001, Repeats::No, [&] { fired = true; });
    EXPECT_TRUE(loop.run_until([&] { return fired; }, 5.0));
}

TEST(RunLoopSources, ReadableDescriptorCallsItsSourceUntilRemoved) {
    Pipe pipe;
    RunLoop loop;
    std::string received;
    loop.add_source(pipe.read_end, [&] { received += pipe.drain(); });

    pipe.send('a');
    ASSERT_TRUE(loop.run_until([&] { return received == "a"; }, 5.0));

    loop.remove_source(pipe.read_end);
    pipe.send('b');
    loop.run_once(0);
    EXPECT_EQ(received, "a");
    EXPECT_EQ(pipe.drain(), "b");
}

TEST(RunLoopSources, VirtualClockStillServesSources) {
    Pipe pipe;
    RunLoop loop;
    loop.use_virtual_clock(0);
    std::string received;
    loop.add_source(pipe.read_end, [&] { received += pipe.drain(); });
    pipe.send('x');
    loop.advance(0);
    EXPECT_EQ(received, "x");
}

TEST(RunLoopSources, SourceReplacedOnTheSameDescriptorCallsOnlyTheNewOne) {
    Pipe pipe;
    RunLoop loop;
    int old_calls = 0;
    std::string received;
    loop.add_source(pipe.read_end, [&] { ++old_calls; });
    loop.add_source(pipe.read_end, [&] { received += pipe.drain(); });
    pipe.send('z');
    ASSERT_TRUE(loop.run_until([&] { return received == "z"; }, 5.0));
    EXPECT_EQ(old_calls, 0);
}

TEST(RunLoopSources, WritableSourceIsCalledOnceThereIsRoomAndNotAfterRemoval) {
    Pipe pipe;
    RunLoop loop;
    std::string filler(4096, 'f');
    while (write(pipe.write_end, filler.data(), filler.size()) > 0) {
    }
    int calls = 0;
    std::string received;
    // A readable source on the same descriptor stays apart from the writable one.
    loop.add_source(pipe.write_end, [&] { received += "readable"; });
    loop.add_writable_source(pipe.write_end, [&] { ++calls; });
    loop.run_once(0);
    EXPECT_EQ(calls, 0) << "called while the pipe was full";

    pipe.drain();
    ASSERT_TRUE(loop.run_until([&] { return calls > 0; }, 5.0));
    loop.remove_writable_source(pipe.write_end);
    int after_removal = calls;
    loop.run_once(0);
    EXPECT_EQ(calls, after_removal);
    EXPECT_EQ(received, "");
}

TEST(RunLoopSources, DescriptorClosedWhileRegisteredIsDroppedWithAMessage) {
    RunLoop loop;
    int calls = 0;
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    loop.add_source(fds[0], [&] { ++calls; });
    ::testing::internal::CaptureStderr(); // before closing, so its file cannot take the closed number
    close(fds[0]);
    close(fds[1]);
    loop.run_once(0);
    loop.run_once(0);
    std::string messages = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, 0);
    EXPECT_NE(messages.find("closed while registered"), std::string::npos);
    EXPECT_EQ(messages.find("closed while registered"), messages.rfind("closed while registered"));
}

TEST(RunLoopPost, TasksFromOtherThreadsRunOnTheMainLoopInPostingOrder) {
    RunLoop& loop = RunLoop::main();
    loop.use_real_clock();
    const auto main_thread = std::this_thread::get_id();
    std::vector<int> order; // touched only on the main thread
    bool all_on_main = true;
    std::thread poster([&] {
        for (int i = 0; i < 5; ++i)
            loop.post([&, i] {
                all_on_main = all_on_main && std::this_thread::get_id() == main_thread;
                order.push_back(i);
            });
    });
    bool done = loop.run_until([&] { return order.size() == 5; }, 5.0);
    poster.join();
    ASSERT_TRUE(done);
    EXPECT_TRUE(all_on_main);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(RunLoopStop, StopFromAnotherThreadEndsRun) {
    RunLoop loop;
    std::atomic<bool> task_ran{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> watchdog_stopped{false};
    std::thread helper([&] {
        loop.post([&] {
            task_ran = true;
            loop.stop();
        });
        // Bounds the test should the wake-up be lost.
        for (int i = 0; i < 500 && !finished; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!finished) {
            watchdog_stopped = true;
            loop.stop();
        }
    });
    loop.run();
    finished = true;
    helper.join();
    EXPECT_TRUE(task_ran);
    EXPECT_FALSE(watchdog_stopped) << "the posted task did not wake the loop";
}

TEST(RunLoopStop, StopRequestedBeforeRunMakesItReturnAtOnce) {
    RunLoop loop;
    loop.stop();
    loop.run();
    // A second run needs a second stop: the request is consumed.
    bool fired = false;
    loop.add_timer(0.001, Repeats::No, [&] {
        fired = true;
        loop.stop();
    });
    loop.run();
    EXPECT_TRUE(fired);
}
