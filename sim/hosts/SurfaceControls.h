// What the input of the home screen reaches of Notification Center beyond its command.
#pragma once

namespace zimtone::sim {

bool notification_center_is_open();
void open_notification_center();
void close_notification_center();

} // namespace zimtone::sim
