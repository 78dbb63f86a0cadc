// The Today list of Notification Center: its sections stand for a date or for a source.
#pragma once

#include "platform/springboard/nc/NotificationListController.h"

namespace platform::springboard {

class SBNCTableViewController : public NotificationListController {
  public:
    static Class runtime_class();
};

} // namespace platform::springboard
