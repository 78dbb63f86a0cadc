#include <gtest/gtest.h>

#include "colour/hex_codec.h"
#include "tweak/banner/banner_colours.h"

using namespace zimtone::tweak::banner;
using zimtone::colour::Colour;
using zimtone::colour::TextColour;

namespace {
const Colour kIcon { 0.2, 0.4, 0.6, 1.0 };
const Colour kFixed { 1.0, 0.5, 0.5, 1.0 };
} // namespace

TEST(BannerTint, PerAppColourWinsOnlyWhenEnabledAndPresent) {
    struct Row {
        const char* name;
        bool specific;
        std::optional<std::optional<Colour>> entry;
        bool allow;
        double saturation;
        std::optional<Colour> expected;
    };
    const Row rows[] = {
        { "icon, no step", false, std::nullopt, false, 1.0, kIcon },
        { "entry ignored while the flag is off", false, std::optional<Colour>(kFixed), false, 1.0, kIcon },
        { "flag on, no entry: icon", true, std::nullopt, false, 1.0, kIcon },
        { "flag on with entry", true, std::optional<Colour>(kFixed), false, 1.0, kFixed },
        { "entry saturated to 1", true, std::optional<Colour>(kFixed), true, 1.0, Colour { 1.0, 0.0, 0.0, 1.0 } },
        { "entry saturated to 0.5 unchanged", true, std::optional<Colour>(kFixed), true, 0.5, kFixed },
        { "icon saturated to 0 is grey of brightness", false, std::nullopt, true, 0.0, Colour { 0.6, 0.6, 0.6, 1.0 } },
        { "undecodable entry without the step: no colour", true, std::optional<Colour>(), false, 1.0, std::nullopt },
        { "undecodable entry with the step: clear black", true, std::optional<Colour>(), true, 1.0,
          Colour { 0, 0, 0, 0 } },
    };
    for (auto& row : rows) {
        TintInputs in { row.specific, row.entry, kIcon, row.allow, row.saturation };
        EXPECT_EQ(banner_tint(in), row.expected) << row.name;
    }
}

TEST(BannerButtons, AutomaticColourWithTheStepOnlyWhenAllowed) {
    EXPECT_EQ(button_title_colour(TextColour::White, false, 1.0), (Colour { 1, 1, 1, 1 }));
    // White has hue 0 and brightness 1: full saturation makes it pure red; zero keeps it white.
    EXPECT_EQ(button_title_colour(TextColour::White, true, 1.0), (Colour { 1, 0, 0, 1 }));
    EXPECT_EQ(button_title_colour(TextColour::White, true, 0.0), (Colour { 1, 1, 1, 1 }));
    EXPECT_EQ(button_title_colour(TextColour::Black, true, 1.0), (Colour { 0, 0, 0, 1 }));
}
