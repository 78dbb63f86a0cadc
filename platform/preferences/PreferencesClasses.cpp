#include "platform/preferences/PreferencesClasses.h"

#include "platform/preferences/PSIndexPath.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/SLComposeViewController.h"
#include "platform/uikit/controllers/UIAlertController.h"
#include "platform/uikit/controllers/UIBarButtonItem.h"
#include "platform/uikit/controllers/UINavigationController.h"
#include "platform/uikit/controllers/UINavigationItem.h"

namespace platform::preferences {

void register_preferences_classes() {
    uikit::UIViewController::runtime_class();
    uikit::UINavigationController::runtime_class();
    uikit::UINavigationItem::runtime_class();
    uikit::UIBarButtonItem::runtime_class();
    uikit::UIAlertController::runtime_class();
    uikit::UIAlertAction::runtime_class();
    uikit::UITextField::runtime_class();
    PSSpecifier::runtime_class();
    PSIndexPath::runtime_class();
    PSTableCell::runtime_class();
    PSListController::runtime_class();
    SLComposeViewController::runtime_class();
}

} // namespace platform::preferences
