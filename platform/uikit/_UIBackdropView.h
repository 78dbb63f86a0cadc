// Blur backdrops: a style, blur parameters and tint settings that drawing turns into frosted glass.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/_UIBackdropViewSettings.h"

namespace platform::uikit {

// Runtime class "_UIBackdropView" (see UIBackdropViewSettings for the C++ name). A backdrop
// made with initWithStyle: has no frame of its own and covers its superview's bounds until a
// frame is set; has_own_frame() tells the two apart.
class UIBackdropView : public UIView {
  public:
    static Class runtime_class();

    UIBackdropView();

    // Initialises through initWithFrame: with the zero rectangle, which does not count as a frame.
    Ref<runtime::Object> initWithStyle(int64_t style);
    int64_t style() const { return style_; }
    UIBackdropViewSettings* inputSettings() const { return settings_.get(); }
    bool blurRadiusSetOnce() const { return blur_radius_set_once_; }
    void setBlurRadiusSetOnce(bool once) { blur_radius_set_once_ = once; }
    double blurRadius() const { return blur_radius_; }
    void setBlurRadius(double radius) { blur_radius_ = radius; }
    foundation::NSString* blurQuality() const { return blur_quality_.get(); }
    void setBlurQuality(foundation::NSString* quality) { blur_quality_ = quality; }

    bool has_own_frame() const { return has_own_frame_; }

  protected:
    void frame_did_change() override { has_own_frame_ = true; }

  private:
    int64_t style_{0};
    Ref<UIBackdropViewSettings> settings_;
    bool blur_radius_set_once_{false};
    double blur_radius_{0.0};
    Ref<foundation::NSString> blur_quality_;
    bool has_own_frame_{false};
};

} // namespace platform::uikit
