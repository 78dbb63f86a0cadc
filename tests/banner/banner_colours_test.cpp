#include <gtest/gtest.h>

#include "tweak/banner/banner_colours.h"

using namespace zimtone::tweak::banner;
using zimtone::colour::Colour;
using zimtone::colour::TextColour;

TEST(BannerButtons, AutomaticColourWithTheStepOnlyWhenAllowed) {
    EXPECT_EQ(button_title_colour(TextColour::White, false, 1.0), (Colour{1, 1, 1, 1}));
    // White has hue 0 and brightness 1: full saturation makes it pure red; zero keeps it white.
    EXPECT_EQ(button_title_colour(TextColour::White, true, 1.0), (Colour{1, 0, 0, 1}));
    EXPECT_EQ(button_title_colour(TextColour::White, true, 0.0), (Colour{1, 1, 1, 1}));
    EXPECT_EQ(button_title_colour(TextColour::Black, true, 1.0), (Colour{0, 0, 0, 1}));
}
