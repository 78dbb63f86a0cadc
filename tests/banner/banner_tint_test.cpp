// The tint a banner gets in a running home screen: which colour, which saturation step, which
// opacity, and the backdrop that carries it.
#include <gtest/gtest.h>

#include "tests/banner/banner_host_support.h"

using namespace zimtone::testing;

namespace {

const char* const kMessages = "com.apple.MobileSMS";
const char* const kZebra = "com.example.zebra";         // dark icon
const char* const kNotes = "com.apple.mobilenotes";     // light icon
const char* const kPlainText = "com.example.plaintext"; // no icon at all

json per_app(const char* app, const char* hex) {
    return json::array({{{app, hex}}});
}

// FF8800 decoded: each pair over 254 in single precision.
json orange() {
    return json::array(
        {static_cast<double>(255.0f / 254.0f), static_cast<double>(136.0f / 254.0f), 0.0, 1.0});
}

struct TintCase {
    const char* name;
    json settings;
    const char* app;
    json expected_tint;
    double expected_alpha;
};

std::vector<TintCase> tint_cases() {
    return {
        {"defaults: icon colour, saturation 1.0", json::object(), kZebra, saturated_icon_colour(kZebra, 1.0),
         1.0},
        {"light icon", json::object(), kNotes, saturated_icon_colour(kNotes, 1.0), 1.0},
        {"per-app colour wins when enabled",
         {{"SpecificAppColor", true},
          {"AllowSaturation", false},
          {"Specific_App_Color", per_app(kMessages, "FF8800")}},
         kMessages,
         orange(),
         1.0},
        {"per-app colour ignored when disabled",
         {{"SpecificAppColor", false},
          {"AllowSaturation", false},
          {"Specific_App_Color", per_app(kMessages, "FF8800")}},
         kMessages,
         icon_colour(kMessages),
         1.0},
        {"enabled without an entry for the app",
         {{"SpecificAppColor", true},
          {"AllowSaturation", false},
          {"Specific_App_Color", per_app(kNotes, "FF8800")}},
         kMessages,
         icon_colour(kMessages),
         1.0},
        {"per-app colour takes the saturation step",
         {{"SpecificAppColor", true},
          {"BannerSaturation", 0.0},
          {"Specific_App_Color", per_app(kMessages, "FF8800")}},
         kMessages,
         saturated(orange(), 0.0),
         1.0},
        {"AllowSaturation off: BannerSaturation changes nothing",
         {{"AllowSaturation", false}, {"BannerSaturation", 0.0}},
         kZebra,
         icon_colour(kZebra),
         1.0},
        {"saturation 0 gives the grey of the colour",
         {{"BannerSaturation", 0.0}},
         kMessages,
         saturated_icon_colour(kMessages, 0.0),
         1.0},
        {"BannerAlpha is the tint's opacity",
         {{"BannerAlpha", 0.25}},
         kZebra,
         saturated_icon_colour(kZebra, 1.0),
         0.25},
        {"BannerAlpha 0", {{"BannerAlpha", 0.0}}, kZebra, saturated_icon_colour(kZebra, 1.0), 0.0},
        {"no icon: opaque black", json::object(), kPlainText, json::array({0.0, 0.0, 0.0, 1.0}), 1.0},
    };
}

} // namespace

TEST(BannerTint, FollowsThePerAppColourOrTheIconWithTheSaturationAndAlphaSettings) {
    BannerDevice device;
    for (const auto& c : tint_cases()) {
        SCOPED_TRACE(c.name);
        device.reload_settings(c.settings);
        device.run(std::string("bulletin ") + c.app + " Title Message");
        auto banner = banner_of(device.run("dump"));
        ASSERT_TRUE(banner.is_object());
        auto backdrops = find_views(banner, "_UIBackdropView");
        ASSERT_EQ(backdrops.size(), 1u) << "the host's background stays, or the tint is missing";
        const auto& tint = backdrops[0];
        EXPECT_EQ(banner["subviews"][0], tint) << "the tint lies behind every other subview";
        EXPECT_EQ(tint["style"], 3900);
        EXPECT_EQ(tint["blurRadius"], 1.0);
        EXPECT_EQ(tint["blurQuality"], "default");
        EXPECT_EQ(tint["tintAlpha"], c.expected_alpha);
        EXPECT_EQ(tint["tint"], c.expected_tint);
        device.run("dismiss");
    }
}

TEST(BannerTint, ABannerAlphaReloadReachesTheNextBannerOnly) {
    BannerDevice device;
    device.run("bulletin com.example.zebra First Banner");
    device.reload_settings({{"BannerAlpha", 0.5}});
    EXPECT_EQ(find_view(banner_of(device.run("dump")), "_UIBackdropView")["tintAlpha"], 1.0)
        << "a banner already set up keeps its tint";
    EXPECT_EQ(device.run("dismiss")["waiting"], 0);
    device.run("bulletin com.example.zebra Second Banner");
    EXPECT_EQ(find_view(banner_of(device.run("dump")), "_UIBackdropView")["tintAlpha"], as_stored(0.5));
}
