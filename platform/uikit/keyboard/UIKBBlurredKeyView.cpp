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

    // A key casts a thin shadow below its face, which is what outlines it on a keyboard of the
    // face's own colour. As a layer of the key it lies under every subview.
    auto shadow = make_object<CALayer>();
    shadow->setFrame(foundation::CGRectMake(0, kKeyShadowDrop, frame.size.width, frame.size.height));
    shadow->setCornerRadius(kKeyCornerRadius);
    shadow->setBackgroundColor(UIColor::colorWithRGBA(0, 0, 0, kKeyShadowAlpha).get());
    layer()->addSublayer(shadow.get());

    backdrop_view_ = msg<Ref<UIBackdropView>>(class_createInstance(UIBackdropView::runtime_class()),
                                              "initWithStyle:"_sel, keyboard_backdrop_style());
    if (backdrop_view_) {
        backdrop_view_->setFrame(bounds());
        backdrop_view_->layer()->setCornerRadius(kKeyCornerRadius);
        // The key's shape is this layer's filled area: whatever uses it as a mask shows only
        // where it has a background.
        backdrop_view_->layer()->setBackgroundColor(UIKBRenderConfig::key_face_colour(light).get());
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
