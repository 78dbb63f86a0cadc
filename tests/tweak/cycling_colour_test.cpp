#include <gtest/gtest.h>

#include "tweak/CyclingColour.h"

using zimtone::colour::Colour;
using zimtone::tweak::cycling_colour;

TEST(CyclingColour, ChannelsAreLowBytesOver256AtTheSurfacesOpacity) {
    struct Row {
        uint32_t r, g, b;
        double alpha;
        Colour expected;
    };
    const Row rows[] = {
        { 0, 0, 0, 1.0, { 0, 0, 0, 1.0 } },
        { 0xFFFFFFFF, 0x100, 0x7F, 0.4, { 255 / 256.0, 0, 127 / 256.0, 0.4 } },
        { 0x12345680, 0xAB01, 0x1FF, 0.0, { 0.5, 1 / 256.0, 255 / 256.0, 0.0 } },
    };
    for (auto& row : rows) {
        EXPECT_EQ(cycling_colour(row.r, row.g, row.b, row.alpha, false, 1.0), row.expected);
        // Without the step the saturation value changes nothing.
        EXPECT_EQ(cycling_colour(row.r, row.g, row.b, row.alpha, false, 0.0), row.expected);
    }
}

TEST(CyclingColour, SaturationStepKeepsBrightnessAndOpacity) {
    struct Row {
        double saturation;
        Colour expected;
    };
    const Row rows[] = {
        { 1.0, { 0.5, 0.0, 0.0, 0.6 } }, // full saturation of a dull red
        { 0.0, { 0.5, 0.5, 0.5, 0.6 } }, // grey at the brightness
    };
    for (auto& row : rows)
        EXPECT_EQ(cycling_colour(0x80, 0x40, 0x40, 0.6, true, row.saturation), row.expected) << row.saturation;
}
