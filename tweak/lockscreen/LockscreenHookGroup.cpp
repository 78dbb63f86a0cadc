// The lock-screen hook group: its rows in installation order.
#include "tweak/AddedProperty.h"
#include "tweak/HookGroups.h"
#include "tweak/lockscreen/LockscreenCells.h"
#include "tweak/lockscreen/LockscreenList.h"

namespace zimtone::tweak {

using platform::runtime::imp_cast;
namespace l = lockscreen;

HookGroup lockscreen_group() {
    static const HookRow rows[] = {
        {"SBLockScreenNotificationListView", "setTavoView:", HookKind::Add,
         imp_cast(&property_setter<"tavoView">), nullptr, "v@:@"},
        {"SBLockScreenNotificationListView", "tavoView", HookKind::Add,
         imp_cast(&property_getter<"tavoView">), nullptr, "@@:"},
        {"SBLockScreenNotificationListView", "setTavoGradient:", HookKind::Add,
         imp_cast(&property_setter<"tavoGradient">), nullptr, "v@:@"},
        {"SBLockScreenNotificationListView", "tavoGradient", HookKind::Add,
         imp_cast(&property_getter<"tavoGradient">), nullptr, "@@:"},
        {"SBLockScreenNotificationListView", "layoutSubviews", HookKind::Replace,
         imp_cast(&l::listLayoutSubviews), &l::original_listLayoutSubviews, nullptr},
        {"SBLockScreenNotificationListView", "setColorTimer:", HookKind::Add,
         imp_cast(&property_setter<"colorTimer">), nullptr, "v@:@"},
        {"SBLockScreenNotificationListView", "colorTimer", HookKind::Add,
         imp_cast(&property_getter<"colorTimer">), nullptr, "@@:"},
        {"SBLockScreenNotificationListView", "changeBackgroundColor", HookKind::Add,
         imp_cast(&l::changeBackgroundColor), nullptr, "v@:"},
        {"SBLockScreenNotificationListView", "tableView:cellForRowAtIndexPath:", HookKind::Replace,
         imp_cast(&l::tableView_cellForRowAtIndexPath), &l::original_cellForRowAtIndexPath, nullptr},
        {"SBLockScreenNotificationListView", "prepareForRemoval", HookKind::Replace,
         imp_cast(&l::prepareForRemoval), &l::original_prepareForRemoval, nullptr},
        {"SBLockScreenBulletinCell", "layoutSubviews", HookKind::Replace, imp_cast(&l::cellLayoutSubviews),
         &l::original_cellLayoutSubviews, nullptr},
        {"SBTableViewCellDismissActionButton", "layoutSubviews", HookKind::Replace,
         imp_cast(&l::dismissButtonLayoutSubviews), &l::original_dismissButtonLayoutSubviews, nullptr},
        {"SBLockScreenView", "_addLockContentUnderlayWithRequester:", HookKind::Replace,
         imp_cast(&l::addLockContentUnderlayWithRequester), &l::original_addLockContentUnderlay, nullptr},
    };
    return {"Lockscreen", rows};
}

} // namespace zimtone::tweak
