#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/foundation/DeviceTime.h"
#include "platform/foundation/RunLoop.h"

namespace {

using namespace platform::foundation;

// On the virtual clock, clock 0 is Tuesday 9 September 2014, 9:41.
class DeviceTimeOnTheVirtualClock : public ::testing::Test {
  protected:
    void SetUp() override { RunLoop::main().use_virtual_clock(0); }
    void TearDown() override { RunLoop::main().use_real_clock(); }
};

TEST_F(DeviceTimeOnTheVirtualClock, NotificationsDateThemselvesByHowLongAgoTheyCame) {
    struct Row {
        double event;
        double now;
        std::string expected;
    };
    const std::vector<Row> table = {
        {0, 0, "now"},
        {0, 59.999, "now"},
        {0, 60, "1m ago"},
        {0, 119.9, "1m ago"},
        {0, 120, "2m ago"},
        {0, 3599.9, "59m ago"},
        {0, 3600, "9:41 AM"},                           // an hour on: the time it came
        {2 * 3600 + 19 * 60, 5 * 3600, "12:00 PM"},     // noon
        {3 * 3600 + 19 * 60 + 59, 5 * 3600, "1:00 PM"}, // seconds do not round up
        {14 * 3600 + 19 * 60, 16 * 3600, "12:00 AM"},   // midnight
        {100, 40, "now"},                               // a date ahead of now
        {NAN, 40, "now"},
    };
    for (const auto& row : table)
        EXPECT_EQ(relative_time_text(row.event, row.now), row.expected)
            << row.event << " seen at " << row.now;
}

TEST_F(DeviceTimeOnTheVirtualClock, TheClockFaceAndDateFollowTheClock) {
    struct Row {
        double clock;
        std::string face;
        std::string date;
    };
    const std::vector<Row> table = {
        {0, "9:41", "Tuesday, September 9"},
        {59, "9:41", "Tuesday, September 9"},
        {60, "9:42", "Tuesday, September 9"},
        {14 * 3600 + 18 * 60 + 59, "11:59", "Tuesday, September 9"},
        {14 * 3600 + 19 * 60, "12:00", "Wednesday, September 10"},
        {21 * 86400, "9:41", "Tuesday, September 30"},
        {22 * 86400, "9:41", "Wednesday, October 1"},
    };
    for (const auto& row : table) {
        CalendarTime time = device_time(row.clock);
        EXPECT_EQ(clock_face_text(time), row.face) << row.clock;
        EXPECT_EQ(date_text(time), row.date) << row.clock;
    }
}

TEST(DeviceTime, TheRealClockReadsTheLocalTimeNow) {
    RunLoop::main().use_real_clock();
    std::time_t before = std::time(nullptr);
    CalendarTime now = device_time(RunLoop::main().now());
    std::time_t after = std::time(nullptr);
    CalendarTime first = calendar_of(before, true);
    CalendarTime last = calendar_of(after, true);
    auto minutes = [](const CalendarTime& t) { return t.day * 1440 + t.hour * 60 + t.minute; };
    EXPECT_GE(minutes(now), minutes(first));
    EXPECT_LE(minutes(now), minutes(last));
    // An hour earlier on the clock is an hour earlier on the calendar.
    CalendarTime hour_ago = device_time(RunLoop::main().now() - 3600);
    CalendarTime expected = calendar_of(before - 3600, true);
    EXPECT_EQ(hour_ago.hour, expected.hour);
}

} // namespace
