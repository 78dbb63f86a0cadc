// The lock screen's view controller: its view and the notification controller that fills it.
#pragma once

#include "platform/springboard/lockscreen/SBLockScreenNotificationListController.h"

namespace platform::springboard {

class SBLockScreenViewController : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<SBLockScreenViewController> create();

    SBLockScreenView* view() const { return view_.get(); }
    SBLockScreenNotificationListController* notificationController() const { return notifications_.get(); }

  private:
    Ref<SBLockScreenView> view_;
    Ref<SBLockScreenNotificationListController> notifications_;
};

} // namespace platform::springboard
