// The plug-in's load-time entry: its classes exist as soon as the Settings app loads it, so the
// principal class and the classes the rows name can be found by name.
#include "prefs/PaneClasses.h"

namespace {
__attribute__((constructor)) void zimtone2_pane_loaded() {
    zimtone::prefs::register_pane_classes();
}
} // namespace
