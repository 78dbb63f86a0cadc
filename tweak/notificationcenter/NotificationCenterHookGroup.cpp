// The NotificationCenter hook group: its rows in installation order.
#include "tweak/AddedProperty.h"
#include "tweak/HookGroups.h"
#include "tweak/notificationcenter/NotificationCenterCells.h"
#include "tweak/notificationcenter/NotificationCenterCycling.h"
#include "tweak/notificationcenter/NotificationCenterHeaders.h"

namespace zimtone::tweak {

namespace n = notificationcenter;

HookGroup notification_center_group() {
    static const HookRow rows[] = {
        replace<&n::vibrantInitWithFrame>("_SBFVibrantTableViewHeaderFooterView",
                                          "initWithFrame:", &n::original_vibrantInitWithFrame),
        add<&property_setter<"colorTimer">>("SBNCTableViewController", "setColorTimer:"),
        add<&property_getter<"colorTimer">>("SBNCTableViewController", "colorTimer"),
        add<&n::changeBackgroundColor>("SBNCTableViewController", "changeBackgroundColor"),
        replace<&n::todayCellForRow>("SBNCTableViewController",
                                     "tableView:cellForRowAtIndexPath:", &n::original_todayCellForRow),
        replace<&n::todayViewForHeader>("SBNCTableViewController",
                                        "tableView:viewForHeaderInSection:", &n::original_todayViewForHeader),
        add<&property_setter<"colorTimer">>("SBBulletinViewController", "setColorTimer:"),
        add<&property_getter<"colorTimer">>("SBBulletinViewController", "colorTimer"),
        add<&n::changeBackgroundColor>("SBBulletinViewController", "changeBackgroundColor"),
        replace<&n::notificationsCellForRow>("SBBulletinViewController", "tableView:cellForRowAtIndexPath:",
                                             &n::original_notificationsCellForRow),
        replace<&n::notificationsViewForHeader>(
            "SBBulletinViewController",
            "tableView:viewForHeaderInSection:", &n::original_notificationsViewForHeader),
        add<&bool_property_setter<"sectionHasClearButton">>("SBNotificationCenterHeaderView",
                                                            "setSectionHasClearButton:"),
        add<&bool_property_getter<"sectionHasClearButton">>("SBNotificationCenterHeaderView",
                                                            "sectionHasClearButton"),
        replace<&n::setHasClearButton>("SBNotificationCenterHeaderView",
                                       "setHasClearButton:", &n::original_setHasClearButton),
    };
    return {"NotificationCenter", rows};
}

} // namespace zimtone::tweak
