#include "colour/hex_codec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

using namespace zimtone::colour;

namespace {

struct DecodeCase {
    const char* text;
    Colour expected;
};

TEST(HexDecode, DividesEachPairBy254InSinglePrecision) {
    const DecodeCase cases[] = {
        {"7f7f7f", {0.5, 0.5, 0.5, 1.0}},
        {"FFFFFF", {1.003937005996704, 1.003937005996704, 1.003937005996704, 1.0}},
        {"ffffff", {1.003937005996704, 1.003937005996704, 1.003937005996704, 1.0}},
        {"fefefe", {1.0, 1.0, 1.0, 1.0}},
        {"000000", {0.0, 0.0, 0.0, 1.0}},
        {"800000", {0.5039370059967041, 0.0, 0.0, 1.0}},
        {"00fe7f", {0.0, 1.0, 0.5, 1.0}},
        {"7f0080", {0.5, 0.0, 0.5039370059967041, 1.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto colour = colorWithHexString(c.text);
        ASSERT_TRUE(colour.has_value());
        EXPECT_EQ(colour->red, c.expected.red);
        EXPECT_EQ(colour->green, c.expected.green);
        EXPECT_EQ(colour->blue, c.expected.blue);
        EXPECT_EQ(colour->alpha, 1.0);
    }
}

TEST(HexDecode, IgnoresLetterCase) {
    const char* pairs[][2] = {
        {"aBcDeF", "abcdef"},
        {"ABCDEF", "abcdef"},
        {"FfEe0A", "ffee0a"},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair[0]);
        auto mixed = colorWithHexString(pair[0]);
        auto lower = colorWithHexString(pair[1]);
        ASSERT_TRUE(mixed && lower);
        EXPECT_EQ(*mixed, *lower);
    }
}

TEST(HexDecode, RejectsAnythingButSixHexDigits) {
    const std::string rejected[] = {
        "#7f7f7f",
        "12345",
        "",
        "12345g",
        "7f7f7f0",
        "0x7f7f",
        " 7f7f7",
        "7f7f7 ",
        "7f-7f7",
        "7f7f7\xC3\xA9",            // "é": six bytes but five characters
        "7f7f\xC3\xA9",             // six bytes, the last two one non-ASCII character
        "\xEF\xBC\x91\xEF\xBC\x92", // full-width digits
        std::string("7f7f\0f", 6),  // embedded NUL
    };
    for (const auto& text : rejected) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(colorWithHexString(text).has_value());
    }
}

struct EncodeCase {
    Colour colour;
    const char* expected;
};

TEST(HexEncode, TruncatesEachChannelTimes255) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const EncodeCase cases[] = {
        {{0.5, 0.5, 0.5, 1.0}, "7f7f7f"},
        {{1.0, 0.0, 0.0, 1.0}, "ff0000"},
        {{0.0, 0.0, 0.0, 1.0}, "000000"},
        {{0.999, 0.0, 0.01, 1.0}, "fe0002"},
        {{0.5, 0.5, 0.5, 0.0}, "7f7f7f"},                // alpha plays no part
        {{1.003937005996704, 0.0, 1.0, 1.0}, "10000ff"}, // 256 needs three digits
        {{-1.0 / 255, 0.0, 0.0, 1.0}, "ffffffff0000"},   // -1 as printf shows it
        {{-0.5 / 255, 0.0, 0.0, 1.0}, "000000"},         // truncation toward zero
        {{nan, 0.5, 0.5, 1.0}, "007f7f"},
        {{inf, 0.0, 0.0, 1.0}, "7fffffff0000"},
        {{-inf, 0.0, 0.0, 1.0}, "800000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(hexValuesFromColour(c.colour), c.expected);
    }
}

TEST(HexEncode, DecodedDigitsEncodeBackBelowFe) {
    // n / 254 * 255 lies in [n, n + 1) for n up to fd; fe and ff overshoot by one.
    for (int n = 0; n < 256; ++n) {
        char text[7];
        std::snprintf(text, sizeof text, "%02x%02x%02x", n, 255 - n, n / 2);
        SCOPED_TRACE(text);
        auto colour = colorWithHexString(text);
        ASSERT_TRUE(colour.has_value());
        char first[16];
        std::snprintf(first, sizeof first, "%02x", n < 254 ? n : n + 1);
        EXPECT_EQ(hexValuesFromColour(*colour).substr(0, std::string(first).size()), first);
    }
    EXPECT_EQ(hexValuesFromColour(*colorWithHexString("808080")), "808080");
    EXPECT_EQ(hexValuesFromColour(*colorWithHexString("fefefe")), "ffffff");
    EXPECT_EQ(hexValuesFromColour(*colorWithHexString("ffffff")), "100100100");
}

TEST(HexEncode, ConvertsToInt32LikeTheDevice) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const int32_t max = std::numeric_limits<int32_t>::max();
    const int32_t min = std::numeric_limits<int32_t>::min();
    const struct {
        double value;
        int32_t expected;
    } cases[] = {
        {0.0, 0},     {1.9, 1},   {-1.9, -1},           {2147483647.5, max},  {2147483648.0, max},
        {1e300, max}, {inf, max}, {-2147483648.9, min}, {-2147483649.0, min}, {-inf, min},
        {nan, 0},     {-0.0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(truncateToInt32(c.value), c.expected);
    }
}

} // namespace
