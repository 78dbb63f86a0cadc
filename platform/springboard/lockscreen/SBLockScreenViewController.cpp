#include "platform/springboard/lockscreen/SBLockScreenViewController.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBLockScreenViewController::runtime_class() {
    static Class cls =
        ClassBuilder<SBLockScreenViewController>("SBLockScreenViewController", NSObject::runtime_class())
            .method<&SBLockScreenViewController::view>("view")
            .ivar("_notificationController", &SBLockScreenViewController::notifications_)
            .get();
    return cls;
}

Ref<SBLockScreenViewController> SBLockScreenViewController::create() {
    auto controller = make_object<SBLockScreenViewController>();
    controller->view_ = uikit::UIView::create<SBLockScreenView>(foundation::CGRect{});
    controller->notifications_ = SBLockScreenNotificationListController::create(controller->view_);
    return controller;
}

} // namespace platform::springboard
