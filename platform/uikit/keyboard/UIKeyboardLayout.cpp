#include "platform/uikit/keyboard/UIKeyboardLayout.h"

#include "platform/uikit/keyboard/UIKBRenderConfig.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIKeyboardLayout::runtime_class() {
    static Class cls = ClassBuilder<UIKeyboardLayout>("UIKeyboardLayout", UIView::runtime_class())
                           .method<&UIKeyboardLayout::initWithFrame>("initWithFrame:")
                           .get();
    return cls;
}

Ref<Object> UIKeyboardLayout::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setBackgroundColor(UIKBRenderConfig::background_colour(keyboard_is_light()).get());
    backdrop_ = msg<Ref<UIBackdropView>>(class_createInstance(UIBackdropView::runtime_class()),
                                         "initWithStyle:"_sel, keyboard_backdrop_style());
    insertSubviewAtIndex(backdrop_.get(), 0);
    return Ref<Object>(this);
}

} // namespace platform::uikit
