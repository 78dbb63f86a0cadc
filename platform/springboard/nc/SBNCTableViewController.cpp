#include "platform/springboard/nc/SBNCTableViewController.h"

namespace platform::springboard {

Class SBNCTableViewController::runtime_class() {
    static Class cls = describe<SBNCTableViewController>("SBNCTableViewController").get();
    return cls;
}

} // namespace platform::springboard
