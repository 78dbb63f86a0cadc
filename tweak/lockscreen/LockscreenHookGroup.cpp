// The lock-screen hook group: its rows in installation order.
#include "tweak/AddedProperty.h"
#include "tweak/HookGroups.h"
#include "tweak/lockscreen/LockscreenCells.h"
#include "tweak/lockscreen/LockscreenList.h"

namespace zimtone::tweak {

namespace l = lockscreen;

HookGroup lockscreen_group() {
    static const HookRow rows[] = {
        add<&property_setter<"tavoView">>("SBLockScreenNotificationListView", "setTavoView:"),
        add<&property_getter<"tavoView">>("SBLockScreenNotificationListView", "tavoView"),
        add<&property_setter<"tavoGradient">>("SBLockScreenNotificationListView", "setTavoGradient:"),
        add<&property_getter<"tavoGradient">>("SBLockScreenNotificationListView", "tavoGradient"),
        replace<&l::listLayoutSubviews>("SBLockScreenNotificationListView", "layoutSubviews",
                                        &l::original_listLayoutSubviews),
        add<&property_setter<"colorTimer">>("SBLockScreenNotificationListView", "setColorTimer:"),
        add<&property_getter<"colorTimer">>("SBLockScreenNotificationListView", "colorTimer"),
        add<&l::changeBackgroundColor>("SBLockScreenNotificationListView", "changeBackgroundColor"),
        replace<&l::tableView_cellForRowAtIndexPath>(
            "SBLockScreenNotificationListView",
            "tableView:cellForRowAtIndexPath:", &l::original_cellForRowAtIndexPath),
        replace<&l::prepareForRemoval>("SBLockScreenNotificationListView", "prepareForRemoval",
                                       &l::original_prepareForRemoval),
        replace<&l::cellLayoutSubviews>("SBLockScreenBulletinCell", "layoutSubviews",
                                        &l::original_cellLayoutSubviews),
        replace<&l::dismissButtonLayoutSubviews>("SBTableViewCellDismissActionButton", "layoutSubviews",
                                                 &l::original_dismissButtonLayoutSubviews),
        replace<&l::addLockContentUnderlayWithRequester>(
            "SBLockScreenView", "_addLockContentUnderlayWithRequester:", &l::original_addLockContentUnderlay),
    };
    return {"Lockscreen", rows};
}

} // namespace zimtone::tweak
