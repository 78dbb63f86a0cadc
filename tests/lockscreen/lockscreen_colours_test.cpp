#include <gtest/gtest.h>

#include "tweak/lockscreen/lockscreen_colours.h"

using namespace zimtone::tweak::lockscreen;
using zimtone::colour::Colour;

namespace {
const Colour kIcon{0.2, 0.4, 0.6, 1.0};
const Colour kFixed{1.0, 0.5, 0.5, 1.0};
} // namespace

TEST(LockscreenCellColour, SourceSaturationAndOpacity) {
    struct Row {
        const char* name;
        bool specific;
        std::optional<std::optional<Colour>> entry;
        bool allow;
        double saturation;
        double alpha;
        std::optional<Colour> expected;
    };
    const Row rows[] = {
        {"icon, no step, opaque", false, std::nullopt, false, 1.0, 1.0, kIcon},
        {"icon at the lock-screen opacity", false, std::nullopt, false, 1.0, 0.25,
         Colour{0.2, 0.4, 0.6, 0.25}},
        {"entry ignored while the flag is off", false, std::optional<Colour>(kFixed), false, 1.0, 1.0, kIcon},
        {"flag on, no entry: icon", true, std::nullopt, false, 1.0, 1.0, kIcon},
        {"flag on with entry", true, std::optional<Colour>(kFixed), false, 1.0, 0.5,
         Colour{1.0, 0.5, 0.5, 0.5}},
        {"saturation off: its value changes nothing", false, std::nullopt, false, 0.0, 1.0, kIcon},
        {"icon saturated to 0 is the grey of its brightness", false, std::nullopt, true, 0.0, 1.0,
         Colour{0.6, 0.6, 0.6, 1.0}},
        {"entry saturated to 1 then made translucent", true, std::optional<Colour>(kFixed), true, 1.0, 0.5,
         Colour{1.0, 0.0, 0.0, 0.5}},
        {"opacity 0 makes the cell fully transparent", false, std::nullopt, false, 0.5, 0.0,
         Colour{0.2, 0.4, 0.6, 0.0}},
        {"undecodable entry without the step: no colour", true, std::optional<Colour>(), false, 1.0, 1.0,
         std::nullopt},
        {"undecodable entry with the step: black at the opacity", true, std::optional<Colour>(), true, 1.0,
         0.7, Colour{0, 0, 0, 0.7}},
    };
    for (const auto& row : rows) {
        CellInputs in{row.specific, row.entry, kIcon, row.allow, row.saturation, row.alpha};
        EXPECT_EQ(cell_colour(in), row.expected) << row.name;
    }
}

TEST(LockscreenGradient, OnlyTheFirstRowOfTheFirstSectionWithTheEffectOn) {
    struct Row {
        int64_t section, row;
        bool tavo, expected;
    };
    const Row rows[] = {
        {0, 0, true, true},  {0, 1, true, false},  {1, 0, true, false},
        {1, 1, true, false}, {0, 0, false, false}, {-1, 0, true, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(row_sets_gradient(r.section, r.row, r.tavo), r.expected)
            << r.section << "/" << r.row << " " << r.tavo;
}

TEST(LockscreenCycling, GradientColourIsNeverSaturated) {
    EXPECT_EQ(cycling_gradient_colour(0x80, 0x40, 0x40, 0.3), (Colour{0.5, 0.25, 0.25, 0.3}));
    EXPECT_EQ(cycling_gradient_colour(0x1FF, 0x100, 0xFE, 1.0), (Colour{255 / 256.0, 0, 254 / 256.0, 1.0}));
}

TEST(LockscreenText, AutomaticColourFollowsTheIconsLumaAndIsOpaque) {
    struct Row {
        Colour dominant;
        Colour expected;
    };
    const Row rows[] = {
        {{0, 0, 0, 1}, {1, 1, 1, 1}},
        {{1, 0, 0, 1}, {1, 1, 1, 1}}, // luma 0.299
        {{1, 1, 0, 1}, {0, 0, 0, 1}}, // luma 0.886
        {{1, 1, 1, 0.2}, {0, 0, 0, 1}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(text_colour(r.dominant), r.expected);
}
