#include <gtest/gtest.h>

#include "tweak/AppTint.h"

using namespace zimtone::tweak;
using zimtone::colour::Colour;

namespace {
const Colour kIcon{0.2, 0.4, 0.6, 1.0};
const Colour kFixed{1.0, 0.5, 0.5, 1.0};
} // namespace

TEST(AppTint, PerAppColourWinsOnlyWhenEnabledAndPresent) {
    struct Row {
        const char* name;
        bool specific;
        std::optional<std::optional<Colour>> entry;
        bool allow;
        double saturation;
        std::optional<Colour> base;
        std::optional<Colour> tint;
    };
    const Row rows[] = {
        {"icon, no step", false, std::nullopt, false, 1.0, kIcon, kIcon},
        {"entry ignored while the flag is off", false, std::optional<Colour>(kFixed), false, 1.0, kIcon,
         kIcon},
        {"flag on, no entry: icon", true, std::nullopt, false, 1.0, kIcon, kIcon},
        {"flag on with entry", true, std::optional<Colour>(kFixed), false, 1.0, kFixed, kFixed},
        {"entry saturated to 1", true, std::optional<Colour>(kFixed), true, 1.0, kFixed,
         Colour{1.0, 0.0, 0.0, 1.0}},
        {"entry saturated to 0.5 unchanged", true, std::optional<Colour>(kFixed), true, 0.5, kFixed, kFixed},
        {"icon saturated to 0 is grey of brightness", false, std::nullopt, true, 0.0, kIcon,
         Colour{0.6, 0.6, 0.6, 1.0}},
        {"undecodable entry without the step: no colour", true, std::optional<Colour>(), false, 1.0,
         std::nullopt, std::nullopt},
        {"undecodable entry with the step: clear black", true, std::optional<Colour>(), true, 1.0,
         std::nullopt, Colour{0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        AppTintInputs in{row.specific, row.entry, kIcon, row.allow, row.saturation};
        EXPECT_EQ(app_base_colour(in), row.base) << row.name;
        EXPECT_EQ(app_tint(in), row.tint) << row.name;
    }
}

TEST(AppTint, OpacityReplacesAlphaAndNoColourStaysNone) {
    EXPECT_EQ(with_alpha(kFixed, 0.25), (Colour{1.0, 0.5, 0.5, 0.25}));
    EXPECT_EQ(with_alpha(Colour{0, 0, 0, 0}, 0.7), (Colour{0, 0, 0, 0.7}));
    EXPECT_EQ(with_alpha(std::nullopt, 0.7), std::nullopt);
}
