#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"

#include "platform/uikit/keyboard/UIKBRenderConfig.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIKBBlurredKeyView::runtime_class() {
    static Class cls =
        ClassBuilder<UIKBBlurredKeyView>("UIKBBlurredKeyView", UIView::runtime_class())
            .method<&UIKBBlurredKeyView::initWithFrameKeyplaneKey>("initWithFrame:keyplane:key:")
            .ivar("_backdropView", &UIKBBlurredKeyView::backdrop_view_)
            .get();
    return cls;
}

UIKBBlurredKeyView::UIKBBlurredKeyView() : label_(make_object<UILabel>()) {
    label_->setTextAlignment(NSTextAlignmentCenter);
    label_->setFont(UIFont::systemFontOfSize(20).get());
}

Ref<Object> UIKBBlurredKeyView::initWithFrameKeyplaneKey(CGRect frame, Object* keyplane, Object* key) {
    msg<Ref<Object>>(this, "initWithFrame:"_sel, frame);
    keyplane_ = keyplane;
    key_ = key;
    bool light = keyboard_is_light();

    backdrop_view_ = msg<Ref<UIBackdropView>>(class_createInstance(UIBackdropView::runtime_class()),
                                              "initWithStyle:"_sel, keyboard_backdrop_style());
    if (backdrop_view_) {
        backdrop_view_->setFrame(bounds());
        backdrop_view_->layer()->setCornerRadius(kKeyCornerRadius);
        backdrop_view_->inputSettings()->setColorTint(UIKBRenderConfig::key_face_colour(light).get());
        backdrop_view_->inputSettings()->setColorTintAlpha(1.0);
        addSubview(backdrop_view_.get());
    }
    if (auto* text = foundation::string_of(key))
        label_->setText(foundation::ns(*text).get());
    label_->setTextColor(UIKBRenderConfig::key_text_colour(light).get());
    label_->setFrame(bounds());
    addSubview(label_.get());
    return Ref<Object>(this);
}

} // namespace platform::uikit
