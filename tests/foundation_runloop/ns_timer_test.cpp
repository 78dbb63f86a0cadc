// NSTimer through the runtime: the scheduling class method, firing, invalidation, retention.
#include <gtest/gtest.h>

#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimer.h"

using namespace platform::foundation;
using namespace platform::runtime;

namespace {

constexpr const char* kScheduleSelector = "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:";

// A timer target that counts its ticks and its live instances, and can stop its own timer.
class Ticker : public NSObject {
  public:
    static inline int alive = 0;
    Ticker() { ++alive; }
    ~Ticker() override { --alive; }
    static Class runtime_class() {
        static Class cls = ClassBuilder<Ticker>("TimerTestTicker", NSObject::runtime_class())
                               .method<&Ticker::tick>("tick")
                               .get();
        return cls;
    }
    void tick() {
        ++ticks;
        if (ticks == invalidate_after)
            msg<void>(timer, "invalidate"_sel);
    }
    int ticks{0};
    int invalidate_after{-1};
    Ref<NSTimer> timer;
};

class NSTimerTest : public ::testing::Test {
  protected:
    void SetUp() override { RunLoop::main().use_virtual_clock(1000.0); }
    void TearDown() override {
        EXPECT_TRUE(RunLoop::main().timers().empty()) << "a test left a timer scheduled";
        EXPECT_EQ(Ticker::alive, 0);
    }
};

} // namespace

TEST_F(NSTimerTest, ScheduledThroughMessagingWithTheDeviceEncoding) {
    const Method* method = class_getInstanceMethod(object_getClass(NSTimer::runtime_class()),
                                                   sel_registerName(kScheduleSelector));
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(*method->types, "@@:d@:@B");

    auto ticker = make_object<Ticker>();
    // A send whose types differ from the method's encoding would stop the process here.
    auto timer = msg<Ref<NSTimer>>(NSTimer::runtime_class(), sel_registerName(kScheduleSelector), 0.5,
                                   ticker.get(), "tick"_sel, ns("info"), true);
    ASSERT_TRUE(timer);
    EXPECT_TRUE(msg<bool>(timer, "isValid"_sel));
    EXPECT_DOUBLE_EQ(msg<double>(timer, "timeInterval"_sel), 0.5);
    EXPECT_DOUBLE_EQ(msg<double>(timer, "fireDate"_sel), 1000.5);
    auto info = msg<Ref<Object>>(timer, "userInfo"_sel);
    ASSERT_NE(string_of(info.get()), nullptr);
    EXPECT_EQ(*string_of(info.get()), "info");

    RunLoop::main().advance(1.0);
    EXPECT_EQ(ticker->ticks, 2);
    EXPECT_DOUBLE_EQ(msg<double>(timer, "fireDate"_sel), 1001.5);

    msg<void>(timer, "invalidate"_sel);
    EXPECT_FALSE(msg<bool>(timer, "isValid"_sel));
    EXPECT_DOUBLE_EQ(msg<double>(timer, "fireDate"_sel), 1001.5) << "keeps its last fire date";
    RunLoop::main().advance(1.0);
    EXPECT_EQ(ticker->ticks, 2);
}

TEST_F(NSTimerTest, OneShotFiresOnceThenIsInvalid) {
    auto ticker = make_object<Ticker>();
    auto timer = NSTimer::schedule(0.5, ticker.get(), "tick"_sel, Repeats::No);
    EXPECT_DOUBLE_EQ(timer->timeInterval(), 0.0) << "a one-shot timer reports no interval";
    RunLoop::main().advance(0.5);
    EXPECT_EQ(ticker->ticks, 1);
    EXPECT_FALSE(timer->isValid());
    EXPECT_DOUBLE_EQ(timer->fireDate(), 1000.5);
    RunLoop::main().advance(5.0);
    EXPECT_EQ(ticker->ticks, 1);
}

TEST_F(NSTimerTest, InvalidatedInsideItsOwnActionNeverFiresAgain) {
    auto ticker = make_object<Ticker>();
    ticker->invalidate_after = 2;
    ticker->timer = NSTimer::schedule(0.5, ticker.get(), "tick"_sel, Repeats::Yes);
    RunLoop::main().advance(5.0);
    EXPECT_EQ(ticker->ticks, 2);
    EXPECT_FALSE(ticker->timer->isValid());
    ticker->timer = nullptr;
}

struct RetentionCase {
    const char* name;
    Repeats repeats;
    int alive_after_first_fire; // tickers still alive once the timer has fired once
};
void PrintTo(const RetentionCase& c, std::ostream* out) {
    *out << c.name;
}

class NSTimerRetention : public NSTimerTest, public ::testing::WithParamInterface<RetentionCase> {};

TEST_P(NSTimerRetention, KeepsItsTargetUntilInvalidatedOrFiredOnce) {
    const RetentionCase& c = GetParam();
    Ref<NSTimer> timer;
    {
        auto ticker = make_object<Ticker>();
        timer = NSTimer::schedule(0.5, ticker.get(), "tick"_sel, c.repeats, ns("payload"));
        auto snapshot = RunLoop::main().timers();
        ASSERT_EQ(snapshot.size(), 1u);
        EXPECT_EQ(snapshot[0].holder.get(), timer.get());
        EXPECT_EQ(snapshot[0].target.get(), ticker.get());
        EXPECT_DOUBLE_EQ(snapshot[0].interval, 0.5);
    }
    EXPECT_EQ(Ticker::alive, 1) << "the timer holds its target";
    RunLoop::main().advance(0.5);
    EXPECT_EQ(Ticker::alive, c.alive_after_first_fire);
    timer->invalidate();
    EXPECT_EQ(Ticker::alive, 0);
    EXPECT_EQ(timer->target(), nullptr);
    EXPECT_EQ(timer->userInfo(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Timers, NSTimerRetention,
                         ::testing::Values(RetentionCase{"Repeating", Repeats::Yes, 1},
                                           RetentionCase{"OneShot", Repeats::No, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NSTimerTest, TheRunLoopKeepsAScheduledTimerAlive) {
    auto ticker = make_object<Ticker>();
    NSTimer::schedule(0.5, ticker.get(), "tick"_sel, Repeats::Yes); // the caller keeps no reference
    RunLoop::main().advance(1.0);
    EXPECT_EQ(ticker->ticks, 2);
    auto snapshot = RunLoop::main().timers();
    ASSERT_EQ(snapshot.size(), 1u);
    msg<void>(snapshot[0].holder, "invalidate"_sel);
}

TEST_F(NSTimerTest, TimerWithoutTargetFiresHarmlessly) {
    auto timer = NSTimer::schedule(0.5, nullptr, "tick"_sel, Repeats::No);
    RunLoop::main().advance(1.0);
    EXPECT_FALSE(timer->isValid());
}
