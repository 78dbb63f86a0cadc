#include "platform/uikit/controllers/UINavigationController.h"

#include <algorithm>

namespace platform::uikit {

using namespace platform::runtime;

Class UINavigationController::runtime_class() {
    static Class cls =
        ClassBuilder<UINavigationController>("UINavigationController", UIViewController::runtime_class())
            .method<&UINavigationController::viewControllers>("viewControllers")
            .method<&UINavigationController::topViewController>("topViewController")
            .method<&UINavigationController::pushViewControllerAnimated>("pushViewController:animated:")
            .method<&UINavigationController::popViewControllerAnimated>("popViewControllerAnimated:")
            .get();
    return cls;
}

Ref<UINavigationController> UINavigationController::with_root(UIViewController* root) {
    auto nav = make_object<UINavigationController>();
    nav->pushViewControllerAnimated(root, false);
    return nav;
}

UINavigationController::~UINavigationController() {
    for (auto& c : stack_)
        c->set_navigation_controller(nullptr);
}

Ref<foundation::NSArray> UINavigationController::viewControllers() const {
    return foundation::NSArray::create({stack_.begin(), stack_.end()});
}

void UINavigationController::pushViewControllerAnimated(UIViewController* controller, bool) {
    if (!controller || controller == this)
        return;
    if (std::any_of(stack_.begin(), stack_.end(), [&](auto& c) { return c.get() == controller; }))
        return;
    stack_.emplace_back(controller);
    controller->set_navigation_controller(this);
}

Ref<UIViewController> UINavigationController::popViewControllerAnimated(bool) {
    if (stack_.size() < 2)
        return nullptr;
    Ref<UIViewController> top = stack_.back();
    stack_.pop_back();
    top->set_navigation_controller(nullptr);
    return top;
}

} // namespace platform::uikit
