#include "colour/adjustments.h"
#include "colour/random_channel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace zimtone::colour;

namespace {

void expectNear(const Colour& actual, const Colour& expected, double tolerance = 1e-12) {
    EXPECT_NEAR(actual.red, expected.red, tolerance);
    EXPECT_NEAR(actual.green, expected.green, tolerance);
    EXPECT_NEAR(actual.blue, expected.blue, tolerance);
    EXPECT_EQ(actual.alpha, expected.alpha);
}

struct SaturationCase {
    Colour input;
    double saturation;
    Colour expected;
};

TEST(Saturation, ReplacesTheColoursOwnSaturation) {
    const SaturationCase cases[] = {
        {{1.0, 0.5, 0.5, 1.0}, 1.0, {1.0, 0.0, 0.0, 1.0}},
        {{1.0, 0.5, 0.5, 1.0}, 0.5, {1.0, 0.5, 0.5, 1.0}},
        {{1.0, 0.5, 0.5, 0.25}, 1.0, {1.0, 0.0, 0.0, 0.25}},
        {{0.5, 0.5, 0.5, 1.0}, 1.0, {0.5, 0.0, 0.0, 1.0}}, // a grey has hue 0: red
        {{0.0, 0.0, 0.0, 0.5}, 1.0, {0.0, 0.0, 0.0, 0.5}},
        {{0.0, 0.25, 0.5, 1.0}, 1.0, {0.0, 0.25, 0.5, 1.0}},
        {{0.0, 0.25, 0.5, 1.0}, 0.5, {0.25, 0.375, 0.5, 1.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.input.red << "," << c.input.green << "," << c.input.blue << " @" << c.saturation);
        EXPECT_EQ(modifySaturationWith(c.input, c.saturation), c.expected);
    }
}

TEST(Saturation, ZeroGivesTheGreyOfTheBrightness) {
    const Colour inputs[] = {
        {0.2, 0.4, 0.9, 1.0},
        {1.0, 0.0, 0.0, 0.3},
        {0.3, 0.3, 0.3, 1.0},
        {0.0, 0.0, 0.0, 1.0},
        {1.003937005996704, 0.5, 0.0, 1.0},
        {0.1, 0.7, 0.7, 0.0},
    };
    for (const auto& input : inputs) {
        double brightness = std::max({input.red, input.green, input.blue});
        EXPECT_EQ(modifySaturationWith(input, 0.0),
                  (Colour{brightness, brightness, brightness, input.alpha}));
    }
}

TEST(Saturation, OutOfRangeValuesAreClamped) {
    const Colour input{0.8, 0.4, 0.2, 1.0};
    EXPECT_EQ(modifySaturationWith(input, 2.0), modifySaturationWith(input, 1.0));
    EXPECT_EQ(modifySaturationWith(input, -1.0), modifySaturationWith(input, 0.0));
    EXPECT_EQ(modifySaturationWith(input, std::numeric_limits<double>::quiet_NaN()),
              modifySaturationWith(input, 0.0));
}

struct HsbCase {
    Colour colour;
    HSB expected;
};

TEST(Hsb, DecomposesLikeThePlatform) {
    const HsbCase cases[] = {
        {{1, 0, 0, 1}, {0.0, 1, 1, 1}},
        {{1, 1, 0, 1}, {1.0 / 6, 1, 1, 1}},
        {{0, 1, 0, 1}, {2.0 / 6, 1, 1, 1}},
        {{0, 1, 1, 1}, {3.0 / 6, 1, 1, 1}},
        {{0, 0, 1, 1}, {4.0 / 6, 1, 1, 1}},
        {{1, 0, 1, 1}, {5.0 / 6, 1, 1, 1}},
        {{1, 0, 0.5, 1}, {11.0 / 12, 1, 1, 1}}, // negative red sector wraps below 1
        {{0.5, 0.25, 0.25, 0.5}, {0.0, 0.5, 0.5, 0.5}},
        {{0.5, 0.5, 0.5, 1}, {0.0, 0, 0.5, 1}},
        {{0, 0, 0, 1}, {0.0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.colour.red << "," << c.colour.green << "," << c.colour.blue);
        HSB hsb = toHSB(c.colour);
        EXPECT_NEAR(hsb.hue, c.expected.hue, 1e-12);
        EXPECT_NEAR(hsb.saturation, c.expected.saturation, 1e-12);
        EXPECT_NEAR(hsb.brightness, c.expected.brightness, 1e-12);
        EXPECT_EQ(hsb.alpha, c.expected.alpha);
        EXPECT_GE(hsb.hue, 0.0);
        EXPECT_LT(hsb.hue, 1.0);
    }
}

TEST(Hsb, RecomposesEverySectorBackToTheColour) {
    const double levels[] = {0.0, 0.25, 0.6, 1.0};
    for (double red : levels)
        for (double green : levels)
            for (double blue : levels) {
                Colour colour{red, green, blue, 0.75};
                SCOPED_TRACE(testing::Message() << red << "," << green << "," << blue);
                expectNear(fromHSB(toHSB(colour)), colour);
            }
}

TEST(Hsb, HueOfOneWrapsToRed) {
    EXPECT_EQ(fromHSB({1.0, 1.0, 0.8, 1.0}), fromHSB({0.0, 1.0, 0.8, 1.0}));
    EXPECT_EQ(fromHSB({1.0, 1.0, 0.8, 1.0}), (Colour{0.8, 0.0, 0.0, 1.0}));
}

struct ReverseCase {
    const char* name;
    Colour background;
    TextColour expected;
};

TEST(ReverseColour, PicksWhiteOnlyBelowHalfLuma) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ReverseCase cases[] = {
        {"red", {1, 0, 0, 1}, TextColour::White},
        {"green", {0, 1, 0, 1}, TextColour::Black},
        {"blue", {0, 0, 1, 1}, TextColour::White},
        {"yellow", {1, 1, 0, 1}, TextColour::Black},
        {"mid grey, luma exactly 0.5", {0.5, 0.5, 0.5, 1}, TextColour::Black},
        {"just under mid grey", {0.499, 0.499, 0.499, 1}, TextColour::White},
        {"black", {0, 0, 0, 1}, TextColour::White},
        {"white", {1, 1, 1, 1}, TextColour::Black},
        {"magenta, luma 0.413", {1, 0, 1, 1}, TextColour::White},
        {"cyan, luma 0.701", {0, 1, 1, 1}, TextColour::Black},
        {"transparent white", {1, 1, 1, 0}, TextColour::Black},
        {"not a number", {nan, 0, 0, 1}, TextColour::Black},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reverseColor(c.background), c.expected);
    }
}

TEST(ReverseColour, MapsToOpaqueWhiteAndBlack) {
    EXPECT_EQ(colourOf(TextColour::White), (Colour{1, 1, 1, 1}));
    EXPECT_EQ(colourOf(TextColour::Black), (Colour{0, 0, 0, 1}));
}

TEST(RandomChannel, UsesTheLowByteOver256) {
    const struct {
        uint32_t random;
        double expected;
    } cases[] = {
        {0, 0.0},     {0x80, 0.5},        {0xFF, 255.0 / 256},
        {0x100, 0.0}, {0xDEADBE40, 0.25}, {0xFFFFFFFF, 255.0 / 256},
    };
    for (const auto& c : cases)
        EXPECT_EQ(randomChannel(c.random), c.expected) << c.random;
    static_assert(randomChannel(0x1C0) == 0.75);
}

} // namespace
