#include "platform/uikit/controllers/UIViewController.h"

#include <cstdio>

#include "platform/uikit/controllers/UINavigationController.h"
#include "platform/uikit/controllers/UINavigationItem.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIViewController::runtime_class() {
    static Class cls = ClassBuilder<UIViewController>("UIViewController", NSObject::runtime_class())
                           .method<&UIViewController::view>("view")
                           .method<&UIViewController::title>("title")
                           .method<&UIViewController::setTitle>("setTitle:")
                           .method<&UIViewController::navigationItem>("navigationItem")
                           .method<&UIViewController::navigationController>("navigationController")
                           .method<&UIViewController::presentedViewController>("presentedViewController")
                           .method<&UIViewController::presentingViewController>("presentingViewController")
                           .method<&UIViewController::presentViewControllerAnimatedCompletion>(
                               "presentViewController:animated:completion:")
                           .method<&UIViewController::dismissViewControllerAnimatedCompletion>(
                               "dismissViewControllerAnimated:completion:")
                           .get();
    return cls;
}

UIViewController::UIViewController()
    : view_(UIView::create<UIView>(CGRect{{0, 0}, {375, 667}})),
      navigation_item_(make_object<UINavigationItem>()) {}

UIViewController::~UIViewController() {
    if (presented_)
        presented_->presenting_ = nullptr;
}

void UIViewController::presentViewControllerAnimatedCompletion(UIViewController* controller, bool, Object*) {
    if (!controller || controller == this)
        return;
    if (presented_) {
        std::fprintf(stderr, "UIViewController: already presenting a controller; the new one is not shown\n");
        return;
    }
    presented_ = controller;
    controller->presenting_ = this;
}

void UIViewController::dismissViewControllerAnimatedCompletion(bool, Object*) {
    if (presented_) {
        presented_->presenting_ = nullptr;
        presented_ = nullptr;
        return;
    }
    if (presenting_)
        presenting_->dismissViewControllerAnimatedCompletion(false, nullptr);
}

UIViewController* UIViewController::topmost_presented() const {
    UIViewController* top = presented_.get();
    while (top && top->presented_)
        top = top->presented_.get();
    return top;
}

} // namespace platform::uikit
