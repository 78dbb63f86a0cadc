#include <gtest/gtest.h>

#include <string>

#include "platform/PlatformClasses.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/Random.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/ChildProcess.h"
#include "tweak/CyclingColour.h"

using zimtone::colour::Colour;
using zimtone::tweak::cycling_colour;

TEST(CyclingColour, ChannelsAreLowBytesOver256AtTheSurfacesOpacity) {
    struct Row {
        uint32_t r, g, b;
        double alpha;
        Colour expected;
    };
    const Row rows[] = {
        {0, 0, 0, 1.0, {0, 0, 0, 1.0}},
        {0xFFFFFFFF, 0x100, 0x7F, 0.4, {255 / 256.0, 0, 127 / 256.0, 0.4}},
        {0x12345680, 0xAB01, 0x1FF, 0.0, {0.5, 1 / 256.0, 255 / 256.0, 0.0}},
    };
    for (auto& row : rows) {
        EXPECT_EQ(cycling_colour(row.r, row.g, row.b, row.alpha, false, 1.0), row.expected);
        // Without the step the saturation value changes nothing.
        EXPECT_EQ(cycling_colour(row.r, row.g, row.b, row.alpha, false, 0.0), row.expected);
    }
}

TEST(CyclingColour, SaturationStepKeepsBrightnessAndOpacity) {
    struct Row {
        double saturation;
        Colour expected;
    };
    const Row rows[] = {
        {1.0, {0.5, 0.0, 0.0, 0.6}}, // full saturation of a dull red
        {0.0, {0.5, 0.5, 0.5, 0.6}}, // grey at the brightness
    };
    for (auto& row : rows)
        EXPECT_EQ(cycling_colour(0x80, 0x40, 0x40, 0.6, true, row.saturation), row.expected)
            << row.saturation;
}

TEST(CyclingColour, ATicksDrawsAreRedGreenBlueInThatOrder) {
    using platform::foundation::seed_random;
    seed_random(7);
    const uint32_t red = platform::foundation::arc4random();
    const uint32_t green = platform::foundation::arc4random();
    const uint32_t blue = platform::foundation::arc4random();
    seed_random(7);
    const auto draws = zimtone::tweak::draw_cycling_channels();
    EXPECT_EQ(draws.red, red);
    EXPECT_EQ(draws.green, green);
    EXPECT_EQ(draws.blue, blue);
    seed_random(7);
    EXPECT_EQ(zimtone::tweak::next_cycling_colour(0.4, true, 0.5),
              cycling_colour(red, green, blue, 0.4, true, 0.5));
}

namespace {

// A view stand-in that counts the ticks it is sent.
class TickCounter : public platform::runtime::NSObject {
  public:
    static platform::runtime::Class runtime_class() {
        static platform::runtime::Class cls =
            platform::runtime::ClassBuilder<TickCounter>("CyclingColourTestTickCounter",
                                                         platform::runtime::NSObject::runtime_class())
                .method<&TickCounter::tick>("tick")
                .get();
        return cls;
    }
    void tick() { ++ticks; }
    int ticks{0};
};

} // namespace

// In a child process: the virtual clock of the main run loop is process-wide.
TEST(CyclingColour, TimerSendsTheActionEveryHalfSecondUntilInvalidated) {
    using namespace platform::foundation;
    using platform::runtime::operator""_sel;
    auto result = zimtone::testing::run_in_child([] {
        platform::register_platform_classes();
        RunLoop::main().use_virtual_clock(0);
        auto counter = platform::runtime::make_object<TickCounter>();
        auto timer = zimtone::tweak::schedule_cycling_timer(counter.get(), "tick"_sel);
        auto* scheduled = dynamic_cast<NSTimer*>(timer.get());
        std::string seen = scheduled ? std::to_string(scheduled->timeInterval()) : "no timer";
        RunLoop::main().advance(0.49);
        seen += " " + std::to_string(counter->ticks);
        RunLoop::main().advance(1.01);
        seen += " " + std::to_string(counter->ticks);
        if (scheduled)
            scheduled->invalidate();
        RunLoop::main().advance(1.0);
        return seen + " " + std::to_string(counter->ticks);
    });
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, "0.500000 0 3 3");
}
