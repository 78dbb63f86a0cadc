// The lock screen's manager: locks and unlocks the interface and owns the lock screen's view
// controller. The host process decides where the lock screen appears (on_lock_change).
#pragma once

#include <functional>

#include "platform/springboard/lockscreen/SBLockScreenViewController.h"

namespace platform::springboard {

class SBLockScreenManager : public runtime::NSObject {
  public:
    static Class runtime_class();
    static SBLockScreenManager* shared();

    // Locking marks the bulletin store locked, so new bulletins go to the lock screen. Locking
    // a locked interface (or unlocking an unlocked one) changes nothing.
    void lockUIFromSource(int32_t source, Object* options);
    // Unlocking takes the notification list down (prepared for removal) first.
    void unlockUIFromSource(int32_t source, Object* options);
    bool isUILocked() const;
    SBLockScreenViewController* lockScreenViewController() const { return view_controller_.get(); }

    // Told after each change of lock state.
    std::function<void(bool locked)> on_lock_change;

  private:
    Ref<SBLockScreenViewController> view_controller_;
};

} // namespace platform::springboard
