// The banner's colour decisions, free of any host: which app and which foreground. Its tint is
// the shared app tint as it comes (tweak/AppTint.h).
#pragma once

#include <cstdint>
#include <string>

#include "colour/Colour.h"
#include "colour/adjustments.h"

namespace zimtone::tweak::banner {

using zimtone::colour::Colour;

inline constexpr const char* kUnknownApp = "Unknown";

// Button titles take the automatic colour, with the saturation step when it is allowed.
Colour button_title_colour(zimtone::colour::TextColour automatic, bool allow_saturation, double saturation);

} // namespace zimtone::tweak::banner
