// Registers Notification Center's classes and the table classes they use, so that they can be
// found by name (and hooked) before anything has used them.
#pragma once

namespace platform::springboard {

void register_notification_center_classes();

} // namespace platform::springboard
