#include "platform/springboard/nc/SBBulletinViewController.h"

namespace platform::springboard {

Class SBBulletinViewController::runtime_class() {
    static Class cls = describe<SBBulletinViewController>("SBBulletinViewController").get();
    return cls;
}

} // namespace platform::springboard
