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

    // The phone's styles this system draws: light frosted glass, and the dark glass of banners,
    // Notification Center and the lock screen.
    static constexpr int64_t kStyleLight = 2010;
    static constexpr int64_t kStyleDark = 2030;
    static constexpr int64_t kStyleDarkLowContrast = 2039;
    static constexpr int64_t kStyleUltraDark = 2050;
    static constexpr double kLightBlurRadius = 30;
    static constexpr double kDarkBlurRadius = 20;
    static constexpr double kDefaultBlurRadius = 20;
    // How far a backdrop of the style blurs when its own radius is unset, in points: light glass
    // spreads further than dark, as on the phone.
    static double blur_radius_for_style(int64_t style);

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
