// Bar button items: a titled button, a custom view or a system item of a navigation bar.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

enum UIBarButtonItemStyle : int64_t {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

enum UIBarButtonSystemItem : int64_t {
    UIBarButtonSystemItemDone = 0,
    UIBarButtonSystemItemFlexibleSpace = 5,
    UIBarButtonSystemItemFixedSpace = 6,
};

// The target is not retained: it is the controller whose bar holds the item, and a strong
// reference would keep that controller alive through its own bar.
class UIBarButtonItem : public runtime::NSObject {
  public:
    static Class runtime_class();

    Ref<runtime::Object> initWithTitleStyleTargetAction(foundation::NSString* title, int64_t style,
                                                        runtime::Object* target, runtime::SEL action);
    Ref<runtime::Object> initWithCustomView(UIView* view);
    Ref<runtime::Object> initWithBarButtonSystemItemTargetAction(int64_t item, runtime::Object* target,
                                                                 runtime::SEL action);

    foundation::NSString* title() const { return title_.get(); }
    int64_t style() const { return style_; }
    runtime::Object* target() const { return target_; }
    runtime::SEL action() const { return action_; }
    UIView* customView() const { return custom_view_.get(); }
    // -1 for an item made with a title or a custom view.
    int64_t system_item() const { return system_item_; }
    double width() const { return width_; }
    void setWidth(double width) { width_ = width; }

    // What a tap does: the action to the target, or the custom view's touch-up-inside actions
    // when it is a button.
    void tap();

  private:
    Ref<foundation::NSString> title_;
    int64_t style_{UIBarButtonItemStylePlain};
    runtime::Object* target_{nullptr};
    runtime::SEL action_{nullptr};
    Ref<UIView> custom_view_;
    int64_t system_item_{-1};
    double width_{0};
};

} // namespace platform::uikit
