// The keyboard's render configuration: light or dark keys, the colours each look draws with,
// and the backdrop style the keyboard asks for.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIColor.h"

namespace platform::uikit {

inline constexpr int64_t kKeyboardBackdropStyleLight = 3901;
inline constexpr int64_t kKeyboardBackdropStyleDark = 3902;

// Keyboard views ask the configuration through the runtime (+defaultConfig, then lightKeyboard
// and +backdropStyleForStyle:), so that whatever answers those messages decides their look.
class UIKBRenderConfig : public runtime::NSObject {
  public:
    static Class runtime_class();
    // +defaultConfig: a new light configuration.
    static Ref<UIKBRenderConfig> defaultConfig();
    // +backdropStyleForStyle: the backdrop style the keyboard uses for a requested style; this
    // platform uses each style as requested.
    static int64_t backdropStyleForStyle(runtime::Object* cls, int64_t style);

    bool lightKeyboard() const { return light_; }
    void setLightKeyboard(bool light) { light_ = light; }
    // The style a keyboard of this look requests.
    int64_t requested_backdrop_style() const {
        return light_ ? kKeyboardBackdropStyleLight : kKeyboardBackdropStyleDark;
    }

    // What the keyboard views of one look draw with.
    static Ref<UIColor> background_colour(bool light);
    static Ref<UIColor> key_face_colour(bool light);
    static Ref<UIColor> key_text_colour(bool light);
    static Ref<UIColor> prediction_text_colour(bool light);

  private:
    bool light_{true};
};

// Whether the default configuration draws a light keyboard, asked through the runtime.
bool keyboard_is_light();
// The backdrop style of the default configuration, asked through the runtime.
int64_t keyboard_backdrop_style();

} // namespace platform::uikit
