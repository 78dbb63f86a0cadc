// The per-app colour selector: one row per listed app; a tapped row asks for a hex colour,
// stores it in the per-app colours and shows it on the row's disc.
#pragma once

#include "platform/applist/ALApplicationList.h"
#include "platform/preferences/PSIndexPath.h"
#include "platform/uikit/UIImage.h"
#include "prefs/SettingsPage.h"

namespace zimtone::prefs {

using platform::preferences::PSIndexPath;

inline constexpr const char* kHexDialogTitle = "Hex Color Ex. (#ffffff)";
inline constexpr const char* kNotHexTitle = "Zimtone 2";
inline constexpr const char* kNotHexMessage = "Not a hex value";

class Zimtone2ApplicationSelector : public SettingsPage {
  public:
    static Class runtime_class();
    Zimtone2ApplicationSelector() : SettingsPage(Page::Root, nullptr) {}

    // Built on the first call of the process and kept for its life.
    static Ref<NSArray> allAppIdentifiers(Object* cls = nullptr);
    Ref<NSArray> specifiers();
    Ref<PSSpecifier> customAppSpecifier(platform::foundation::NSString* name, platform::uikit::UIImage* icon,
                                        platform::foundation::NSString* bundle_id);
    void alertID(PSSpecifier* specifier);
    void saveHexForKeyAndHexColor(platform::foundation::NSString* bundle_id,
                                  platform::foundation::NSString* hex);
    void tableViewDidSelectRowAtIndexPath(Object* table, PSIndexPath* path);

    PSIndexPath* clickedIndexPath() const { return clicked_.get(); }

  private:
    void show_not_hex();

    Ref<platform::applist::ALApplicationList> apps_;
    Ref<PSIndexPath> clicked_;
};

} // namespace zimtone::prefs
