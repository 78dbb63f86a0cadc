// The lock screen's notification controller: takes bulletins from the bulletin board and keeps
// the notification list on the lock screen while there is something to show.
#pragma once

#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/lockscreen/BBObserver.h"
#include "platform/springboard/lockscreen/SBLockScreenView.h"

namespace platform::springboard {

class SBLockScreenNotificationListController : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<SBLockScreenNotificationListController> create(SBLockScreenView* lock_view);

    // Hands the bulletin to the home screen's store, whose lock-screen listener lists it.
    void observerAddBulletin(Object* observer, Object* bulletin, uint64_t feed, bool play_lights_and_sirens,
                             Object* reply);

    // Lists a bulletin, newest first, putting the list on the lock screen when it is not there.
    void add_bulletin(BBBulletin* bulletin);
    // Prepares the list for removal (through the runtime) and takes it off the lock screen;
    // false when no list was shown.
    bool remove_list();
    SBLockScreenNotificationListView* list_view() const { return list_.get(); }

  private:
    Ref<BBObserver> observer_;
    SBLockScreenView* lock_view_{nullptr}; // the view controller owns both
    Ref<SBLockScreenNotificationListView> list_;
};

} // namespace platform::springboard
