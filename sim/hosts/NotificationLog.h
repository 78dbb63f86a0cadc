// The home screen's notification log: each bulletin it received, newest first, with the colours
// its banner wore once the tweak had set it up, read from the banner's views as `dump` shows them.
// What the device page lists under "Notifications".
#pragma once

#include "platform/applist/AppDirectory.h"
#include "sim/hosts/HostProcess.h"

namespace zimtone::sim {

// Only the newest are kept: the log is for a person looking back a little, not an archive.
inline constexpr size_t kNotificationLogLength = 50;

// Records every bulletin delivered from now on and adds the `log` command. Call after
// set_up_banner_host, so that each bulletin's banner is on screen (or queued) when it is recorded.
void set_up_notification_log(HostProcess& host);

// The app's small icon file as base64 PNG, empty when it has none: how the log and the `icon`
// command hand an icon to the page.
std::string small_icon_base64(const platform::applist::AppRecord& app);

} // namespace zimtone::sim
