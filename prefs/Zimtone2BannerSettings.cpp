#include "prefs/Zimtone2BannerSettings.h"

#include "settings/Keys.h"

namespace zimtone::prefs {

using namespace platform::runtime;

Class Zimtone2BannerSettings::runtime_class() {
    static Class cls = [] {
        ClassBuilder<Zimtone2BannerSettings> builder("Zimtone2BannerSettings",
                                                     PSListController::runtime_class());
        add_page_methods(builder).method<&Zimtone2BannerSettings::testBanner>("testBanner");
        return builder.get();
    }();
    return cls;
}

void Zimtone2BannerSettings::testBanner() {
    post_darwin_notification(zimtone::settings::notifications::kTestBanner);
}

} // namespace zimtone::prefs
