// The keyboard's main view: its background, its backdrop, and the keys and prediction cells
// that the keyboard puts in it.
#pragma once

#include "platform/uikit/UIView.h"
#include "platform/uikit/_UIBackdropView.h"

namespace platform::uikit {

// initWithFrame: paints the background of the configured look and puts a blur backdrop of the
// configured style (no tint of its own) at the back.
class UIKeyboardLayout : public UIView {
  public:
    static Class runtime_class();

    UIKeyboardLayout() = default;

    Ref<runtime::Object> initWithFrame(CGRect frame);
    UIBackdropView* backdrop_view() const { return backdrop_.get(); }

  private:
    Ref<UIBackdropView> backdrop_;
};

} // namespace platform::uikit
