#include "prefs/Zimtone2Requests.h"

#include "settings/Keys.h"

namespace zimtone::prefs {

using namespace platform::runtime;

Class Zimtone2Requests::runtime_class() {
    static Class cls = [] {
        ClassBuilder<Zimtone2Requests> builder("Zimtone2Requests", PSListController::runtime_class());
        add_page_methods(builder);
        return builder.get();
    }();
    return cls;
}

} // namespace zimtone::prefs
