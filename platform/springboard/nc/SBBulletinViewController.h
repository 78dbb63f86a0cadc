// The Notifications list of Notification Center: one section per app that sent bulletins.
#pragma once

#include "platform/springboard/nc/NotificationListController.h"

namespace platform::springboard {

class SBBulletinViewController : public NotificationListController {
  public:
    static Class runtime_class();
};

} // namespace platform::springboard
