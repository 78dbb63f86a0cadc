#include "platform/springboard/nc/NotificationCenterClasses.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/springboard/nc/SBBulletinViewController.h"
#include "platform/springboard/nc/SBBulletinViewSection.h"
#include "platform/springboard/nc/SBNCDateSectionInfo.h"
#include "platform/springboard/nc/SBNCSectionInfo.h"
#include "platform/springboard/nc/SBNCTableViewController.h"
#include "platform/springboard/nc/SBNotificationCenterHeaderView.h"
#include "platform/springboard/nc/SBNotificationsBulletinCell.h"

namespace platform::springboard {

void register_notification_center_classes() {
    foundation::NSIndexPath::runtime_class();
    uikit::UITableView::runtime_class();
    SBNotificationCenterHeaderView::runtime_class();
    SBNotificationsBulletinCell::runtime_class();
    SBNCSectionInfo::runtime_class();
    SBNCDateSectionInfo::runtime_class();
    SBBulletinViewSection::runtime_class();
    SBNCTableViewController::runtime_class();
    SBBulletinViewController::runtime_class();
}

} // namespace platform::springboard
