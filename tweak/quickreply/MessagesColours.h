// The quick-reply colours of the moment as colour objects: the Messages icon from the cached
// application list, the live settings, then the pure decisions.
#pragma once

#include "platform/runtime/Runtime.h"
#include "tweak/quickreply/quick_reply_colours.h"

namespace zimtone::tweak::quickreply {

using platform::runtime::Object;
using platform::runtime::Ref;

// The reply view's colours, from the icon's dominant colour and "BannerSaturation".
ReplyColours current_reply_colours();
// "BannersEnabled" and "QRKeyboardColor", read live.
bool keyboard_enabled_now();
// The keyboard colour at opacity "BannerAlpha", or nil for no colour.
Ref<Object> keyboard_background_now();
// The keyboard colour as it comes (the key tint), or nil.
Ref<Object> keyboard_tint_now();
Ref<Object> prediction_text_colour_now();
// A new random colour (three arc4random draws), with the live saturation step.
Ref<Object> cycling_colour_now();
// The same at opacity "BannerAlpha", for backgrounds.
Ref<Object> cycling_background_now();

Ref<Object> colour_object(const Colour& colour);

} // namespace zimtone::tweak::quickreply
