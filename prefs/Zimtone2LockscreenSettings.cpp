#include "prefs/Zimtone2LockscreenSettings.h"

#include "settings/Keys.h"

namespace zimtone::prefs {

using namespace platform::runtime;

Class Zimtone2LockscreenSettings::runtime_class() {
    static Class cls = [] {
        ClassBuilder<Zimtone2LockscreenSettings> builder("Zimtone2LockscreenSettings",
                                                         PSListController::runtime_class());
        add_page_methods(builder).method<&Zimtone2LockscreenSettings::testLockscreenBanner>(
            "testLockscreenBanner");
        return builder.get();
    }();
    return cls;
}

void Zimtone2LockscreenSettings::testLockscreenBanner() {
    post_darwin_notification(zimtone::settings::notifications::kTestLockscreenBanner);
}

} // namespace zimtone::prefs
