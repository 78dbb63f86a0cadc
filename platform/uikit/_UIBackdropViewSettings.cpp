#include "platform/uikit/_UIBackdropViewSettings.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIBackdropViewSettings::runtime_class() {
    static Class cls =
        ClassBuilder<UIBackdropViewSettings>("_UIBackdropViewSettings", NSObject::runtime_class())
            .method<&UIBackdropViewSettings::colorTint>("colorTint")
            .method<&UIBackdropViewSettings::setColorTint>("setColorTint:")
            .method<&UIBackdropViewSettings::colorTintAlpha>("colorTintAlpha")
            .method<&UIBackdropViewSettings::setColorTintAlpha>("setColorTintAlpha:")
            .get();
    return cls;
}

double UIBackdropViewSettings::blur_radius_for_style(int64_t style) {
    switch (style) {
    case kStyleLight:
        return kLightBlurRadius;
    case kStyleDark:
    case kStyleDarkLowContrast:
    case kStyleUltraDark:
        return kDarkBlurRadius;
    default:
        return kDefaultBlurRadius;
    }
}

} // namespace platform::uikit
