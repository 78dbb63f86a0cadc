// The quick-reply colour decisions, free of any host: the reply view's colours from the Messages
// icon, and the keyboard's colours from the settings, the per-app entry and the icon.
#pragma once

#include <cstdint>
#include <optional>

#include "colour/Colour.h"
#include "tweak/AppTint.h"

namespace zimtone::tweak::quickreply {

using zimtone::colour::Colour;

inline constexpr const char* kMessagesApp = "com.apple.MobileSMS";
inline constexpr int64_t kKeyboardBackdropStyle = 3900;

// The reply view: the icon colour for text, caret and placeholder, its contrast (white or black)
// for the buttons, and the contrast with its saturation replaced for the field's cover. The
// per-app colour and "AllowSaturation" have no say here.
struct ReplyColours {
    Colour icon;
    Colour contrast;
    Colour cover_fill;   // the cover colour at half opacity
    Colour cover_stroke; // the cover colour as the saturation step leaves it
};
ReplyColours reply_colours(const Colour& icon, double saturation);

// The keyboard is coloured only while both switches are on.
constexpr bool keyboard_enabled(bool banners_enabled, bool qr_keyboard_color) {
    return banners_enabled && qr_keyboard_color;
}

// The backdrop style the host is asked for: 3900 while enabled, else the one requested.
constexpr int64_t keyboard_backdrop_style(int64_t requested, bool enabled) {
    return enabled ? kKeyboardBackdropStyle : requested;
}

// The keyboard takes the Messages app's tint.
using KeyboardInputs = AppTintInputs;

// The keyboard colour; nullopt is "no colour". Unlike the other surfaces, the keyboard does not
// send the saturation step to a missing colour: an undecodable per-app entry stays no colour.
std::optional<Colour> keyboard_colour(const KeyboardInputs& in);

// A background takes the colour at opacity "BannerAlpha"; no colour stays no colour.
using zimtone::tweak::with_alpha;

// The prediction words: the contrast of the icon colour, never the per-app colour.
Colour prediction_text_colour(const Colour& icon);

} // namespace zimtone::tweak::quickreply
