// The device's calendar. The run loop's clock counts seconds from an arbitrary start, but the
// phone shows times of day and dates: with the real clock a moment maps to the local time, with
// the virtual clock of demos and tests to a fixed weekday morning (clock 0 is 9:41), so that
// their pictures are the same on every run.
#pragma once

#include <cstdint>
#include <string>

namespace platform::foundation {

// Tuesday 9 September 2014, 9:41:00, read as the device's local time.
inline constexpr int64_t kVirtualClockStart = 1410255660;

struct CalendarTime {
    int year{0};
    int month{1};   // 1 January ... 12 December
    int day{1};     // of the month
    int weekday{0}; // 0 Sunday ... 6 Saturday
    int hour{0};    // 0 ... 23
    int minute{0};
};

// Seconds since the epoch as a calendar time, in the local zone or in UTC.
CalendarTime calendar_of(int64_t epoch_seconds, bool local_zone);

// A moment of the main run loop's clock on the device's calendar.
CalendarTime device_time(double clock_seconds);

// "9:41 AM", as the status bar and older notifications show a time.
std::string time_of_day_text(const CalendarTime& time);
// "9:41", the lock screen's clock.
std::string clock_face_text(const CalendarTime& time);
// "Tuesday, September 9", under the lock screen's clock.
std::string date_text(const CalendarTime& time);

// How a notification dates itself: "now" within a minute (and for a date ahead of `now`),
// "5m ago" within an hour, else the time of day it came.
std::string relative_time_text(double event_clock_seconds, double now_clock_seconds);

} // namespace platform::foundation
