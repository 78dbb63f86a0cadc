// WCAG 2 contrast between two colours, for the audit's readability flags.
#pragma once

#include "colour/Colour.h"

namespace zimtone::cli {

// The relative luminance of the colour's sRGB components, each clamped to 0..1 first (a decoded
// "ff" sits a little above 1). Alpha is not looked at.
double relative_luminance(const zimtone::colour::Colour& colour);

// (lighter + 0.05) / (darker + 0.05), from 1 (no contrast) to 21 (black on white).
double contrast_ratio(const zimtone::colour::Colour& a, const zimtone::colour::Colour& b);

// Below these a text fails WCAG AA: normal text, and large or bold text.
inline constexpr double kContrastNormalText = 4.5;
inline constexpr double kContrastLargeText = 3.0;

} // namespace zimtone::cli
