#include <gtest/gtest.h>

#include "colour/adjustments.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "prefs/preview_colour.h"

namespace {

using namespace zimtone::prefs;
using platform::foundation::ns;
using platform::foundation::NSMutableDictionary;
using platform::foundation::NSNumber;
using zimtone::colour::Colour;

TEST(PreviewColour, SettingsFromTheFileOrDefaults) {
    auto empty = NSMutableDictionary::create();
    PreviewSettings d = PreviewSettings::from_file(*empty);
    EXPECT_EQ(d.saturation, 1.0);
    EXPECT_EQ(d.alpha, 1.0);
    EXPECT_TRUE(d.allow_saturation);
    EXPECT_FALSE(d.unicorn);

    auto file = NSMutableDictionary::create();
    file->set("BannerSaturation", NSNumber::numberWithDouble(0.3));
    file->set("BannerAlpha", ns("0.7")); // read through floatValue whatever its type
    file->set("AllowSaturation", NSNumber::numberWithBool(false));
    file->set("BannersUnicornEnabled", NSNumber::numberWithInteger(1));
    PreviewSettings s = PreviewSettings::from_file(*file);
    EXPECT_EQ(s.saturation, static_cast<double>(0.3f)) << "single precision, widened";
    EXPECT_EQ(s.alpha, static_cast<double>(0.7f));
    EXPECT_FALSE(s.allow_saturation);
    EXPECT_TRUE(s.unicorn);
}

TEST(PreviewColour, SaturationStepOnlyWhenAllowedThenAlpha) {
    Colour icon{0.8, 0.4, 0.2, 1.0};
    struct Case {
        const char* name;
        PreviewSettings settings;
        Colour expected;
    } cases[] = {
        {"defaults: saturation set to 1",
         {1.0, 1.0, true, false},
         zimtone::colour::modifySaturationWith(icon, 1.0)},
        {"saturation not allowed: unchanged", {0.0, 1.0, false, false}, icon},
        {"saturation 0: grey at the icon's brightness", {0.0, 1.0, true, false}, Colour{0.8, 0.8, 0.8, 1.0}},
        {"alpha 0: transparent", {1.0, 0.0, false, false}, Colour{0.8, 0.4, 0.2, 0.0}},
        {"alpha after saturation",
         {0.5, 0.25, true, false},
         [&] {
             Colour c = zimtone::colour::modifySaturationWith(icon, 0.5);
             c.alpha = 0.25;
             return c;
         }()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(adjusted_preview(icon, c.settings), c.expected) << c.name;
}

TEST(PreviewColour, RandomStepsUseTheLowByteOverTwoHundredFiftySix) {
    PreviewSettings plain{1.0, 0.5, false, true};
    Colour c = random_preview(0x12345600, 0xFFFFFFFF, 0x00000080, plain);
    EXPECT_EQ(c, (Colour{0.0, 255.0 / 256, 128.0 / 256, 0.5}));
}

} // namespace
