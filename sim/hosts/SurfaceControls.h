// What the input of the home screen reaches of Notification Center beyond its command.
#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Geometry.h"

namespace zimtone::sim {

bool notification_center_is_open();
void open_notification_center();
void close_notification_center();
// A notification row of Notification Center as far as it shows, in screen points, with its app.
struct NotificationCenterRow {
    platform::foundation::CGRect rect;
    std::string app;
};
std::vector<NotificationCenterRow> notification_center_rows(); // none while closed

} // namespace zimtone::sim
