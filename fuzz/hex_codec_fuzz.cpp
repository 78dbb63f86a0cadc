// The hex codec both ways: arbitrary text decoded, and arbitrary doubles (NaN, infinities and
// huge values included) encoded. Decoded channels stay in 0..255/254 with alpha 1; an encoding
// is three groups of two to eight lower-case hex digits.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "colour/hex_codec.h"

using namespace zimtone::colour;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto colour = colorWithHexString(text)) {
        for (double channel : {colour->red, colour->green, colour->blue})
            if (!(channel >= 0.0 && channel <= 255.0f / 254.0f))
                std::abort();
        if (colour->alpha != 1.0 || size != 6)
            std::abort();
    }

    if (size >= 3 * sizeof(double)) {
        Colour colour;
        std::memcpy(&colour.red, data, sizeof(double));
        std::memcpy(&colour.green, data + sizeof(double), sizeof(double));
        std::memcpy(&colour.blue, data + 2 * sizeof(double), sizeof(double));
        std::string hex = hexValuesFromColour(colour);
        if (hex.size() < 6 || hex.size() > 24)
            std::abort();
        for (char c : hex)
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
                std::abort();
    }
    return 0;
}
