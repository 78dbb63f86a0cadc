// The input settings of a blur backdrop: the tint colour and its opacity.
#pragma once

#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIColor.h"

namespace platform::uikit {

// Runtime class "_UIBackdropViewSettings"; the C++ name drops the underscore, since names that
// start with an underscore and a capital are reserved in C++.
class UIBackdropViewSettings : public runtime::NSObject {
  public:
    static Class runtime_class();

    UIBackdropViewSettings() = default;

    UIColor* colorTint() const { return tint_.get(); }
    void setColorTint(UIColor* colour) { tint_ = colour; }
    // How strongly the tint covers the blur; no tint shows until it is set.
    double colorTintAlpha() const { return tint_alpha_; }
    void setColorTintAlpha(double alpha) { tint_alpha_ = alpha; }

  private:
    Ref<UIColor> tint_;
    double tint_alpha_{0.0};
};

} // namespace platform::uikit
