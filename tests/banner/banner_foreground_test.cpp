// A tinted banner's foreground in a running home screen: texts, date, grabber and buttons in
// the automatic colour of the icon, and the host's vibrancy stripped.
#include <gtest/gtest.h>

#include "platform/PlatformClasses.h"
#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/TextColour.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "tests/banner/banner_host_support.h"
#include "tweak/banner/BannerForeground.h"

using namespace zimtone::testing;
using platform::uikit::foreground_colour_at;

namespace {

const json kWhite = json::array({1.0, 1.0, 1.0, 1.0});
const json kBlack = json::array({0.0, 0.0, 0.0, 1.0});
const json kRed = json::array({1.0, 0.0, 0.0, 1.0});

struct Foreground {
    json text_view;
    json date;
    json grabber;
    std::vector<json> buttons;
};

Foreground foreground_of(const json& banner) {
    Foreground f;
    f.text_view = find_view(banner, "SBDefaultBannerTextView");
    f.date = find_view(f.text_view, "UILabel");
    f.grabber = banner["subviews"].back();
    f.buttons = find_views(banner, "SBNotificationVibrantButton");
    return f;
}

// Every run of every string the text view draws has the colour.
void expect_strings_in(const json& text_view, const json& colour) {
    int strings = 0;
    for (const auto& [name, string] : text_view["strings"].items()) {
        if (string.is_null())
            continue;
        ++strings;
        for (const auto& run : string["runColours"])
            EXPECT_EQ(run, colour) << name;
    }
    EXPECT_GE(strings, 3) << "title, subtitle and message";
}

struct ForegroundCase {
    const char* name;
    json settings;
    const char* app;
    json automatic;
    json button_title;
};

} // namespace

TEST(BannerForeground, TextsDateGrabberAndButtonsTakeTheAutomaticColourOfTheIcon) {
    const ForegroundCase cases[] = {
        {"dark icon: white, button titles red from the saturation step", json::object(), "com.example.zebra",
         kWhite, kRed},
        {"dark icon without the saturation step",
         {{"AllowSaturation", false}},
         "com.example.zebra",
         kWhite,
         kWhite},
        {"dark icon, saturation 0 keeps white titles",
         {{"BannerSaturation", 0.0}},
         "com.apple.calculator",
         kWhite,
         kWhite},
        {"light icon: black everywhere", json::object(), "com.apple.mobilenotes", kBlack, kBlack},
        {"light icon without the saturation step",
         {{"AllowSaturation", false}},
         "com.apple.mobilesafari",
         kBlack,
         kBlack},
        {"per-app tint, colours still from the icon",
         {{"SpecificAppColor", true},
          {"Specific_App_Color", json::array({{{"com.example.zebra", "FFFFFF"}}})}},
         "com.example.zebra",
         kWhite,
         kRed},
    };
    BannerDevice device;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        device.reload_settings(c.settings);
        device.run(std::string("bulletin ") + c.app + " Title Message Subtitle");
        device.run("layout"); // a second pass must leave everything as the first did
        auto f = foreground_of(banner_of(device.run("dump")));

        expect_strings_in(f.text_view, c.automatic);
        EXPECT_EQ(f.date["textColor"], c.automatic);
        for (const auto& run : f.date["runColours"])
            EXPECT_EQ(run, c.automatic);
        EXPECT_TRUE(f.date["layer"]["compositingFilter"].is_null());
        EXPECT_EQ(f.grabber["background"], c.automatic);
        EXPECT_TRUE(f.grabber["layer"]["compositingFilter"].is_null());
        ASSERT_EQ(f.buttons.size(), 2u);
        for (const auto& button : f.buttons) {
            auto titles = find_views(button, "UIButton");
            ASSERT_EQ(titles.size(), 1u) << "only the overlay title stays";
            EXPECT_EQ(titles[0]["titleColours"]["0"], c.button_title);
        }
        device.run("dismiss");
    }
}

TEST(BannerForeground, AutoTextColorOffLeavesTheHostColoursButStillStripsVibrantButtons) {
    BannerDevice device(json({{"AutoTextColor", false}}));
    device.run("bulletin com.example.zebra Title Message");
    auto f = foreground_of(banner_of(device.run("dump")));
    EXPECT_EQ(f.date["layer"]["compositingFilter"], "plusL");
    EXPECT_EQ(f.grabber["layer"]["compositingFilter"], "plusD");
    EXPECT_NE(f.grabber["background"], kWhite);
    EXPECT_NE(f.text_view["strings"]["primary"]["runColours"][0], kWhite);
    ASSERT_EQ(f.buttons.size(), 2u);
    for (const auto& button : f.buttons) {
        auto titles = find_views(button, "UIButton");
        ASSERT_EQ(titles.size(), 1u);
        EXPECT_NE(titles[0]["titleColours"]["0"], kWhite);
    }
}

TEST(BannerForeground, TextsAreWhiteWhileNoBannerHasSetTheSharedColour) {
    // Set up with AutoTextColor off, no banner stores a text colour; turned on afterwards, the
    // next layout pass recolours with the white fallback, even on a light icon.
    BannerDevice device(json({{"AutoTextColor", false}}));
    device.run("bulletin com.apple.mobilenotes Title Message Subtitle");
    device.reload_settings(json::object());
    device.run("layout");
    auto f = foreground_of(banner_of(device.run("dump")));
    expect_strings_in(f.text_view, kWhite);
    EXPECT_EQ(f.date["textColor"], kWhite);
}

TEST(BannerForeground, TextsTakeTheColourTheLastSetUpBannerStored) {
    // A light banner stores black. A dark banner set up while AutoTextColor is off stores
    // nothing, so once the key is back on its texts take the black it carries, not its own white.
    BannerDevice device;
    device.run("bulletin com.apple.mobilenotes Title Message Subtitle");
    device.run("dismiss");
    device.reload_settings({{"AutoTextColor", false}});
    device.run("bulletin com.example.zebra Title Message Subtitle");
    device.reload_settings(json::object());
    device.run("layout");
    auto f = foreground_of(banner_of(device.run("dump")));
    expect_strings_in(f.text_view, kBlack);
    EXPECT_EQ(f.date["textColor"], kBlack);
}

TEST(BannerForeground, EveryRunOfATextTakesTheOneColourAndKeepsItsOtherAttributes) {
    using namespace platform::foundation;
    using platform::runtime::Object;
    using platform::runtime::operator""_sel;
    using platform::uikit::UIColor;
    using platform::uikit::UIFont;
    platform::register_platform_classes();
    // Red, then no colour, then green in a bold face, then no colour again: four runs.
    auto regular = UIFont::systemFontOfSize(13);
    auto bold = UIFont::fontWithName("Inter-Bold", 13);
    auto text = NSMutableAttributedString::create("Anna: lunch at one?", {{NSFontAttributeName, regular}});
    text->add_attribute(NSForegroundColorAttributeName, UIColor::colorWithRGBA(1, 0, 0, 1), {0, 5});
    text->add_attribute(NSForegroundColorAttributeName, UIColor::colorWithRGBA(0, 1, 0, 1), {12, 2});
    text->add_attribute(NSFontAttributeName, bold, {12, 2});
    ASSERT_EQ(text->runs().size(), 4u);

    auto recoloured =
        zimtone::tweak::banner::changeAttributesOf(nullptr, "changeAttributesOf:"_sel, text.get());
    auto* result = dynamic_cast<NSAttributedString*>(recoloured.get());
    ASSERT_NE(result, nullptr);
    ASSERT_NE(result, text.get()) << "a copy, the host's string left as it was";
    EXPECT_EQ(result->str(), text->str());
    const auto expected =
        platform::uikit::colour_of(zimtone::tweak::banner::shared_banner_text_colour().get());
    ASSERT_NE(expected, nullptr);
    for (uint64_t i = 0; i < result->length(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(foreground_colour_at(*result, i), nullptr);
        EXPECT_EQ(foreground_colour_at(*result, i)->colour(), expected->colour());
        EXPECT_EQ(result->attribute_at(NSFontAttributeName, i), text->attribute_at(NSFontAttributeName, i));
    }
    EXPECT_EQ(foreground_colour_at(*text, 0)->colour(), UIColor::colorWithRGBA(1, 0, 0, 1)->colour());
    EXPECT_EQ(zimtone::tweak::banner::changeAttributesOf(nullptr, "changeAttributesOf:"_sel, nullptr),
              nullptr);
}
