#include "prefs/Zimtone2NotificationSettings.h"

#include "settings/Keys.h"

namespace zimtone::prefs {

using namespace platform::runtime;

Class Zimtone2NotificationSettings::runtime_class() {
    static Class cls = [] {
        ClassBuilder<Zimtone2NotificationSettings> builder("Zimtone2NotificationSettings",
                                                           PSListController::runtime_class());
        add_page_methods(builder);
        return builder.get();
    }();
    return cls;
}

} // namespace zimtone::prefs
