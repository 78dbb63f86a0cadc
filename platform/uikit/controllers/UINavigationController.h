// Navigation controllers: a stack of view controllers, the top one in view.
#pragma once

#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/uikit/controllers/UIViewController.h"

namespace platform::uikit {

class UINavigationController : public UIViewController {
  public:
    static Class runtime_class();
    static Ref<UINavigationController> with_root(UIViewController* root);

    UINavigationController() = default;
    ~UINavigationController() override;

    // A snapshot of the stack, root first.
    Ref<foundation::NSArray> viewControllers() const;
    const std::vector<Ref<UIViewController>>& stack() const { return stack_; }
    UIViewController* topViewController() const { return stack_.empty() ? nullptr : stack_.back().get(); }
    // A controller already on the stack is not pushed twice.
    void pushViewControllerAnimated(UIViewController* controller, bool animated);
    // The root stays; popping it answers nil.
    Ref<UIViewController> popViewControllerAnimated(bool animated);

  private:
    std::vector<Ref<UIViewController>> stack_;
};

} // namespace platform::uikit
