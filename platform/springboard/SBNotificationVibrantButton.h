// A banner action button: one title drawn twice, blended into the background and on top of it.
#pragma once

#include <string>

#include "platform/uikit/UIButton.h"

namespace platform::springboard {

using runtime::Class;
using runtime::Object;
using runtime::Ref;

// Runtime class "SBNotificationVibrantButton". The _vibrantButton draws the title blended into
// the frosted background (its layer carries the blend filter); the _overlayButton in front of
// it draws the same title plainly. Both cover the view's bounds. The two belong to the button's
// look, so each layout pass puts a missing vibrant copy back behind the overlay.
class SBNotificationVibrantButton : public uikit::UIView {
  public:
    static Class runtime_class();

    Ref<runtime::Object> initWithFrame(uikit::CGRect frame);
    void layoutSubviews();

    void set_title(const std::string& title);

  private:
    Ref<uikit::UIButton> overlay_button_;
    Ref<uikit::UIButton> vibrant_button_;
};

} // namespace platform::springboard
