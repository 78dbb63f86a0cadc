// Parsing and printing of the six-digit hex colours stored in the settings.
#include "colour/hex_codec.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace zimtone::colour {

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<Colour> colorWithHexString(std::string_view utf8) {
    // Any non-ASCII character is not a hex digit, so six valid bytes are also six UTF-16 units.
    if (utf8.size() != 6)
        return std::nullopt;
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        int high = hexDigitValue(utf8[i * 2]);
        int low = hexDigitValue(utf8[i * 2 + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channels[i] = high * 16 + low;
    }
    auto channel = [](int n) { return static_cast<double>(static_cast<float>(n) / 254.0f); };
    return Colour{channel(channels[0]), channel(channels[1]), channel(channels[2]), 1.0};
}

int32_t truncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483649.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

std::string hexValuesFromColour(const Colour& colour) {
    // %x takes an unsigned int; the cast reproduces how printf shows a negative int.
    auto digits = [](double channel) { return static_cast<unsigned>(truncateToInt32(channel * 255.0)); };
    char text[3 * 8 + 1];
    std::snprintf(text, sizeof text, "%02x%02x%02x", digits(colour.red), digits(colour.green),
                  digits(colour.blue));
    return text;
}

} // namespace zimtone::colour
