// View controllers: a view, a title, a navigation item, the navigation controller holding it and
// the controller it presents modally.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

class UINavigationController;
class UINavigationItem;

// The navigation controller and the presenting controller are weak back pointers: the stack
// owns its controllers and a presenter owns what it presents.
class UIViewController : public runtime::NSObject {
  public:
    static Class runtime_class();

    UIViewController();
    ~UIViewController() override;

    UIView* view() const { return view_.get(); }
    foundation::NSString* title() const { return title_.get(); }
    void setTitle(foundation::NSString* title) { title_ = title; }
    UINavigationItem* navigationItem() const { return navigation_item_.get(); }
    UINavigationController* navigationController() const { return navigation_controller_; }
    void set_navigation_controller(UINavigationController* controller) {
        navigation_controller_ = controller;
    }

    UIViewController* presentedViewController() const { return presented_.get(); }
    UIViewController* presentingViewController() const { return presenting_; }
    // A controller that already presents one refuses a second, as the platform does.
    void presentViewControllerAnimatedCompletion(UIViewController* controller, bool animated,
                                                 runtime::Object* completion);
    // Sent to the presented controller or its presenter, it takes the presented one down.
    void dismissViewControllerAnimatedCompletion(bool animated, runtime::Object* completion);
    // The controller at the end of the chain of presentations starting here.
    UIViewController* topmost_presented() const;

  private:
    Ref<UIView> view_;
    Ref<foundation::NSString> title_;
    Ref<UINavigationItem> navigation_item_;
    UINavigationController* navigation_controller_{nullptr};
    Ref<UIViewController> presented_;
    UIViewController* presenting_{nullptr};
};

} // namespace platform::uikit
