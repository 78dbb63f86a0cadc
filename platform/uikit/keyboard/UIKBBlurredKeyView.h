// One key of the keyboard: a blurred key-shaped backdrop and the key's label.
#pragma once

#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/_UIBackdropView.h"

namespace platform::uikit {

// initWithFrame:keyplane:key: builds the key from its key object (the label text, an NSString)
// in the configured look: a backdrop with the key's bounds and rounded corners, held in the
// instance variable "_backdropView", tinted with the key face colour, and the label above it.
// A microphone drawn in the key text colour, for the dictation key, whose font has no such glyph.
class UIKBDictationGlyphView : public UIView {
  public:
    static Class runtime_class();
    void draw(Canvas& canvas) const override;
    Ref<UIColor> colour;
};

class UIKBBlurredKeyView : public UIView {
  public:
    static Class runtime_class();
    static constexpr double kKeyCornerRadius = 5.0;
    static constexpr double kKeyShadowDrop = 1.0;
    static constexpr double kKeyShadowAlpha = 0.35;

    UIKBBlurredKeyView();

    Ref<runtime::Object> initWithFrameKeyplaneKey(CGRect frame, runtime::Object* keyplane,
                                                  runtime::Object* key);
    runtime::Object* keyplane() const { return keyplane_.get(); }
    runtime::Object* key() const { return key_.get(); }
    UIBackdropView* host_backdrop() const { return backdrop_view_.get(); }
    UILabel* label() const { return label_.get(); }

  private:
    Ref<runtime::Object> keyplane_;
    Ref<runtime::Object> key_;
    Ref<UIBackdropView> backdrop_view_;
    Ref<UILabel> label_;
    Ref<UIKBDictationGlyphView> glyph_;
};

} // namespace platform::uikit
