#include "platform/foundation/DeviceTime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/foundation/RunLoop.h"

namespace platform::foundation {

namespace {

constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

int twelve_hour(int hour) {
    int h = hour % 12;
    return h == 0 ? 12 : h;
}

} // namespace

CalendarTime calendar_of(int64_t epoch_seconds, bool local_zone) {
    std::time_t t = static_cast<std::time_t>(epoch_seconds);
    std::tm parts{};
    if (local_zone)
        localtime_r(&t, &parts);
    else
        gmtime_r(&t, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_wday,        parts.tm_hour,    parts.tm_min};
}

CalendarTime device_time(double clock_seconds) {
    const RunLoop& loop = RunLoop::main();
    if (!std::isfinite(clock_seconds))
        clock_seconds = loop.now();
    // The virtual calendar is read in UTC so that the pictures do not depend on the machine's zone.
    if (loop.clock_is_virtual())
        return calendar_of(kVirtualClockStart + static_cast<int64_t>(std::floor(clock_seconds)), false);
    double ago = loop.now() - clock_seconds;
    return calendar_of(static_cast<int64_t>(std::floor(static_cast<double>(std::time(nullptr)) - ago)), true);
}

std::string time_of_day_text(const CalendarTime& time) {
    return clock_face_text(time) + (time.hour < 12 ? " AM" : " PM");
}

std::string clock_face_text(const CalendarTime& time) {
    char text[8];
    std::snprintf(text, sizeof text, "%d:%02d", twelve_hour(time.hour), time.minute % 60);
    return text;
}

std::string date_text(const CalendarTime& time) {
    return std::string(kWeekdays[time.weekday % 7]) + ", " + kMonths[(time.month + 11) % 12] + " " +
           std::to_string(time.day);
}

std::string relative_time_text(double event, double now) {
    double ago = now - event;
    if (!(ago >= 60)) // within a minute, ahead of now, or no number
        return "now";
    if (ago < 3600)
        return std::to_string(static_cast<int>(ago / 60)) + "m ago";
    return time_of_day_text(device_time(event));
}

} // namespace platform::foundation
