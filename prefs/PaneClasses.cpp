#include "prefs/PaneClasses.h"

#include "colour/bridge/HexColors.h"
#include "platform/preferences/PreferencesClasses.h"
#include "prefs/ApplicationColorViewer.h"
#include "prefs/CreditCell.h"
#include "prefs/Zimtone2ApplicationSelector.h"
#include "prefs/Zimtone2BannerSettings.h"
#include "prefs/Zimtone2Credits.h"
#include "prefs/Zimtone2ListController.h"
#include "prefs/Zimtone2LockscreenSettings.h"
#include "prefs/Zimtone2NotificationSettings.h"
#include "prefs/Zimtone2Requests.h"
#include "prefs/ZimtoneHeaderTable.h"

namespace zimtone::prefs {

void register_pane_classes() {
    platform::preferences::register_preferences_classes();
    zimtone::colour::bridge::install_hex_colors_category();
    Zimtone2ListController::runtime_class();
    Zimtone2BannerSettings::runtime_class();
    Zimtone2LockscreenSettings::runtime_class();
    Zimtone2NotificationSettings::runtime_class();
    Zimtone2Requests::runtime_class();
    Zimtone2ApplicationSelector::runtime_class();
    Zimtone2Credits::runtime_class();
    ApplicationColorViewer::runtime_class();
    ZimtoneHeaderTable::runtime_class();
    CreditCell::runtime_class();
}

} // namespace zimtone::prefs
