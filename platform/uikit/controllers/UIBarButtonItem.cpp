#include "platform/uikit/controllers/UIBarButtonItem.h"

#include "platform/uikit/UIButton.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIBarButtonItem::runtime_class() {
    static Class cls =
        ClassBuilder<UIBarButtonItem>("UIBarButtonItem", NSObject::runtime_class())
            .method<&UIBarButtonItem::initWithTitleStyleTargetAction>("initWithTitle:style:target:action:")
            .method<&UIBarButtonItem::initWithCustomView>("initWithCustomView:")
            .method<&UIBarButtonItem::initWithBarButtonSystemItemTargetAction>(
                "initWithBarButtonSystemItem:target:action:")
            .method<&UIBarButtonItem::title>("title")
            .method<&UIBarButtonItem::style>("style")
            .method<&UIBarButtonItem::target>("target")
            .method<&UIBarButtonItem::action>("action")
            .method<&UIBarButtonItem::customView>("customView")
            .method<&UIBarButtonItem::width>("width")
            .method<&UIBarButtonItem::setWidth>("setWidth:")
            .get();
    return cls;
}

Ref<Object> UIBarButtonItem::initWithTitleStyleTargetAction(foundation::NSString* title, int64_t style,
                                                            Object* target, SEL action) {
    title_ = title;
    style_ = style;
    target_ = target;
    action_ = action;
    return Ref<Object>(this);
}

Ref<Object> UIBarButtonItem::initWithCustomView(UIView* view) {
    custom_view_ = view;
    return Ref<Object>(this);
}

Ref<Object> UIBarButtonItem::initWithBarButtonSystemItemTargetAction(int64_t item, Object* target,
                                                                     SEL action) {
    system_item_ = item;
    target_ = target;
    action_ = action;
    return Ref<Object>(this);
}

void UIBarButtonItem::tap() {
    if (auto* button = dynamic_cast<UIButton*>(custom_view_.get())) {
        button->send_actions(UIControlEventTouchUpInside);
        return;
    }
    if (!target_ || !action_)
        return;
    const Method* method = lookup_method(target_, action_);
    if (!method)
        return;
    if (method->types == encoding_of<void>())
        msg(target_, action_);
    else if (method->types == encoding_of<void, Object*>())
        msg(target_, action_, static_cast<Object*>(this));
}

} // namespace platform::uikit
