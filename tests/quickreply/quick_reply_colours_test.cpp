#include <gtest/gtest.h>

#include "tweak/quickreply/quick_reply_colours.h"

using namespace zimtone::tweak::quickreply;
using zimtone::colour::Colour;

namespace {
const Colour kDarkIcon{0.2, 0.4, 0.6, 1.0};  // luma below one half: white contrast
const Colour kLightIcon{0.9, 0.9, 0.5, 1.0}; // luma above one half: black contrast
const Colour kFixed{1.0, 0.5, 0.5, 1.0};
} // namespace

TEST(ReplyColours, CoverIsTheContrastWithItsSaturationAlwaysReplaced) {
    struct Row {
        const char* name;
        Colour icon;
        double saturation;
        Colour contrast, cover;
    };
    const Row rows[] = {
        // White has hue 0 and brightness 1: full saturation turns it pure red.
        {"dark icon, saturation 1", kDarkIcon, 1.0, {1, 1, 1, 1}, {1, 0, 0, 1}},
        {"dark icon, saturation 0", kDarkIcon, 0.0, {1, 1, 1, 1}, {1, 1, 1, 1}},
        {"dark icon, saturation 0.5", kDarkIcon, 0.5, {1, 1, 1, 1}, {1, 0.5, 0.5, 1}},
        // Black has brightness 0 and stays black at any saturation.
        {"light icon, saturation 1", kLightIcon, 1.0, {0, 0, 0, 1}, {0, 0, 0, 1}},
    };
    for (const auto& row : rows) {
        ReplyColours c = reply_colours(row.icon, row.saturation);
        EXPECT_EQ(c.icon, row.icon) << row.name;
        EXPECT_EQ(c.contrast, row.contrast) << row.name;
        EXPECT_EQ(c.cover_stroke, row.cover) << row.name;
        Colour half = row.cover;
        half.alpha = 0.5;
        EXPECT_EQ(c.cover_fill, half) << row.name;
    }
}

TEST(KeyboardSwitches, StyleAndColouringOnlyWithBothSwitchesOn) {
    struct Row {
        bool banners, keyboard;
        int64_t style;
    };
    const Row rows[] = {{true, true, 3900}, {true, false, 3901}, {false, true, 3901}, {false, false, 3901}};
    for (const auto& row : rows) {
        bool enabled = keyboard_enabled(row.banners, row.keyboard);
        EXPECT_EQ(enabled, row.banners && row.keyboard);
        EXPECT_EQ(keyboard_backdrop_style(3901, enabled), row.style) << row.banners << row.keyboard;
    }
}

TEST(KeyboardColour, PerAppEntryWinsOnlyWhenEnabledAndTheStepOnlyWhenAllowed) {
    struct Row {
        const char* name;
        bool specific;
        std::optional<std::optional<Colour>> entry;
        bool allow;
        double saturation;
        std::optional<Colour> expected;
    };
    const Row rows[] = {
        {"icon as it comes", false, std::nullopt, false, 0.0, kDarkIcon},
        {"entry ignored while the flag is off", false, std::optional<Colour>(kFixed), false, 1.0, kDarkIcon},
        {"flag on, no entry: icon", true, std::nullopt, false, 1.0, kDarkIcon},
        {"flag on with entry", true, std::optional<Colour>(kFixed), false, 1.0, kFixed},
        {"saturation ignored when not allowed", true, std::optional<Colour>(kFixed), false, 0.0, kFixed},
        {"entry saturated to 1", true, std::optional<Colour>(kFixed), true, 1.0, Colour{1, 0, 0, 1}},
        {"icon saturated to 0 is the grey of its brightness", false, std::nullopt, true, 0.0,
         Colour{0.6, 0.6, 0.6, 1}},
        {"undecodable entry: no colour", true, std::optional<Colour>(), true, 1.0, std::nullopt},
    };
    for (const auto& row : rows) {
        KeyboardInputs in{row.specific, row.entry, kDarkIcon, row.allow, row.saturation};
        EXPECT_EQ(keyboard_colour(in), row.expected) << row.name;
    }
}

TEST(KeyboardColour, BackgroundsTakeBannerAlphaAndNoColourStaysNone) {
    EXPECT_EQ(with_alpha(kFixed, 0.0), (Colour{1.0, 0.5, 0.5, 0.0}));
    EXPECT_EQ(with_alpha(Colour{0.1, 0.2, 0.3, 0.0}, 0.25), (Colour{0.1, 0.2, 0.3, 0.25}));
    EXPECT_EQ(with_alpha(std::nullopt, 1.0), std::nullopt);
}

TEST(PredictionText, ContrastOfTheIconColour) {
    EXPECT_EQ(prediction_text_colour(kDarkIcon), (Colour{1, 1, 1, 1}));
    EXPECT_EQ(prediction_text_colour(kLightIcon), (Colour{0, 0, 0, 1}));
}
