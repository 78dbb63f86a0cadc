// The NotificationCenter hook group: its rows in installation order.
#include "tweak/AddedProperty.h"
#include "tweak/HookGroups.h"
#include "tweak/notificationcenter/NotificationCenterCells.h"
#include "tweak/notificationcenter/NotificationCenterCycling.h"
#include "tweak/notificationcenter/NotificationCenterHeaders.h"

namespace zimtone::tweak {

using platform::runtime::imp_cast;
namespace n = notificationcenter;

HookGroup notification_center_group() {
    static const HookRow rows[] = {
        {"_SBFVibrantTableViewHeaderFooterView", "initWithFrame:", HookKind::Replace,
         imp_cast(&n::vibrantInitWithFrame), &n::original_vibrantInitWithFrame, nullptr},
        {"SBNCTableViewController", "setColorTimer:", HookKind::Add, imp_cast(&property_setter<"colorTimer">),
         nullptr, "v@:@"},
        {"SBNCTableViewController", "colorTimer", HookKind::Add, imp_cast(&property_getter<"colorTimer">),
         nullptr, "@@:"},
        {"SBNCTableViewController", "changeBackgroundColor", HookKind::Add,
         imp_cast(&n::changeBackgroundColor), nullptr, "v@:"},
        {"SBNCTableViewController", "tableView:cellForRowAtIndexPath:", HookKind::Replace,
         imp_cast(&n::todayCellForRow), &n::original_todayCellForRow, nullptr},
        {"SBNCTableViewController", "tableView:viewForHeaderInSection:", HookKind::Replace,
         imp_cast(&n::todayViewForHeader), &n::original_todayViewForHeader, nullptr},
        {"SBBulletinViewController", "setColorTimer:", HookKind::Add,
         imp_cast(&property_setter<"colorTimer">), nullptr, "v@:@"},
        {"SBBulletinViewController", "colorTimer", HookKind::Add, imp_cast(&property_getter<"colorTimer">),
         nullptr, "@@:"},
        {"SBBulletinViewController", "changeBackgroundColor", HookKind::Add,
         imp_cast(&n::changeBackgroundColor), nullptr, "v@:"},
        {"SBBulletinViewController", "tableView:cellForRowAtIndexPath:", HookKind::Replace,
         imp_cast(&n::notificationsCellForRow), &n::original_notificationsCellForRow, nullptr},
        {"SBBulletinViewController", "tableView:viewForHeaderInSection:", HookKind::Replace,
         imp_cast(&n::notificationsViewForHeader), &n::original_notificationsViewForHeader, nullptr},
        {"SBNotificationCenterHeaderView", "setSectionHasClearButton:", HookKind::Add,
         imp_cast(&bool_property_setter<"sectionHasClearButton">), nullptr, "v@:B"},
        {"SBNotificationCenterHeaderView", "sectionHasClearButton", HookKind::Add,
         imp_cast(&bool_property_getter<"sectionHasClearButton">), nullptr, "B@:"},
        {"SBNotificationCenterHeaderView", "setHasClearButton:", HookKind::Replace,
         imp_cast(&n::setHasClearButton), &n::original_setHasClearButton, nullptr},
    };
    return {"NotificationCenter", rows};
}

} // namespace zimtone::tweak
