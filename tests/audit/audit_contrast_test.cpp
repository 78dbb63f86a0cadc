// WCAG contrast against published reference ratios, not against a second copy of the formula.
#include <gtest/gtest.h>

#include "sim/cli/AuditContrast.h"

namespace {

using zimtone::cli::contrast_ratio;
using zimtone::colour::Colour;

Colour grey(int level) {
    return {level / 255.0, level / 255.0, level / 255.0, 1};
}

TEST(AuditContrast, MatchesReferenceRatios) {
    struct Case {
        const char* what;
        Colour a, b;
        double ratio;
    };
    // Ratios as the WCAG contrast checkers publish them, to two decimals.
    const Case cases[] = {
        {"black on white", Colour::opaqueBlack(), Colour::opaqueWhite(), 21.0},
        {"white on white", Colour::opaqueWhite(), Colour::opaqueWhite(), 1.0},
        {"#777777 on white", grey(0x77), Colour::opaqueWhite(), 4.48},
        {"#767676 on white, the lightest AA grey", grey(0x76), Colour::opaqueWhite(), 4.54},
        {"pure red on white", {1, 0, 0, 1}, Colour::opaqueWhite(), 4.00},
        {"pure blue on white", {0, 0, 1, 1}, Colour::opaqueWhite(), 8.59},
        {"pure green on black", {0, 1, 0, 1}, Colour::opaqueBlack(), 15.30},
        {"yellow on black", {1, 1, 0, 1}, Colour::opaqueBlack(), 19.56},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(contrast_ratio(c.a, c.b), c.ratio, 0.005) << c.what;
        EXPECT_DOUBLE_EQ(contrast_ratio(c.a, c.b), contrast_ratio(c.b, c.a)) << c.what << " is symmetric";
    }
}

TEST(AuditContrast, ComponentsOutsideTheRangeAreClampedAndAlphaIgnored) {
    // A decoded "ff" reads as 255/254, a little above 1: it must count as white, not brighter.
    Colour over_white{255.0 / 254.0, 255.0 / 254.0, 255.0 / 254.0, 1};
    EXPECT_DOUBLE_EQ(contrast_ratio(over_white, Colour::opaqueBlack()), 21.0);
    EXPECT_DOUBLE_EQ(contrast_ratio({-0.5, -1, 0, 1}, Colour::opaqueWhite()), 21.0);
    EXPECT_DOUBLE_EQ(contrast_ratio({0, 0, 0, 0}, Colour::opaqueWhite()), 21.0);
}

} // namespace
