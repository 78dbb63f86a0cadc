// Six-digit hex strings for per-app colours, both ways.
#pragma once

#include "colour/Colour.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zimtone::colour {

// Exactly six hex digits, no prefix, either case. Each pair is divided by 254 (not 255) in single
// precision and not clamped, so "ff" reads as slightly above 1.0 and "fe" as exactly 1.0. Anything
// else, including non-ASCII text, gives no colour.
std::optional<Colour> colorWithHexString(std::string_view utf8);

// Each channel times 255, truncated to a 32-bit integer and printed with at least two lower-case
// hex digits. Out-of-range channels are not clamped: 256 prints as "100" and a negative channel as
// its 32-bit two's complement. Alpha is ignored.
std::string hexValuesFromColour(const Colour& colour);

// Double to int32 as the device's conversion instruction does it: toward zero, saturating at the
// ends of the range, NaN to 0.
int32_t truncateToInt32(double value);

} // namespace zimtone::colour
