#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"

#include "platform/uikit/Canvas.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "platform/uikit/keyboard/UIKBRenderConfig.h"

namespace platform::uikit {

using namespace platform::runtime;

namespace {
// The microphone: a capsule head on a stem and a foot, centred in the key.
constexpr double kMicHeadWidth = 6;
constexpr double kMicHeadHeight = 10;
constexpr double kMicStemHeight = 4;
constexpr double kMicStroke = 1.5;
constexpr double kMicFootWidth = 8;
} // namespace

Class UIKBDictationGlyphView::runtime_class() {
    static Class cls =
        ClassBuilder<UIKBDictationGlyphView>("UIKBDictationGlyphView", UIView::runtime_class()).get();
    return cls;
}

void UIKBDictationGlyphView::draw(Canvas& canvas) const {
    const auto size = bounds().size;
    const double total = kMicHeadHeight + kMicStemHeight + kMicStroke;
    const double x = (size.width - kMicHeadWidth) / 2, top = (size.height - total) / 2;
    const double round = kMicHeadWidth / 2;
    // The head: a rectangle with its two ends stepped in, which reads as a capsule at this size.
    canvas.fill_rect(foundation::CGRectMake(x + 1, top, kMicHeadWidth - 2, kMicHeadHeight), colour.get());
    canvas.fill_rect(foundation::CGRectMake(x, top + round / 2, kMicHeadWidth, kMicHeadHeight - round),
                     colour.get());
    const double mid = size.width / 2;
    canvas.fill_rect(
        foundation::CGRectMake(mid - kMicStroke / 2, top + kMicHeadHeight, kMicStroke, kMicStemHeight),
        colour.get());
    canvas.fill_rect(foundation::CGRectMake(mid - kMicFootWidth / 2, top + kMicHeadHeight + kMicStemHeight,
                                            kMicFootWidth, kMicStroke),
                     colour.get());
}

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
    const std::string* text = foundation::string_of(key);
    const bool dictation = text && *text == Keyboard::kDictationKey;
    if (text && !dictation)
        label_->setText(foundation::ns(*text).get());
    label_->setTextColor(UIKBRenderConfig::key_text_colour(light).get());
    label_->setFrame(bounds());
    addSubview(label_.get());
    if (dictation) {
        glyph_ = UIView::create<UIKBDictationGlyphView>(bounds());
        glyph_->colour = UIKBRenderConfig::key_text_colour(light);
        glyph_->setUserInteractionEnabled(false);
        addSubview(glyph_.get());
    }
    return Ref<Object>(this);
}

} // namespace platform::uikit
