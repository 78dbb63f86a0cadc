#include <gtest/gtest.h>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Loaders.h"
#include "tests/support/TempDevice.h"

using namespace zimtone::settings;
using namespace platform::foundation;
using platform::runtime::Object;
using platform::runtime::Ref;

namespace {

Ref<NSMutableDictionary> dict(std::initializer_list<std::pair<const char*, Ref<Object>>> entries) {
    auto d = NSMutableDictionary::create();
    for (auto& [k, v] : entries)
        d->set(k, v);
    return d;
}
Ref<Object> number(double v) {
    return NSNumber::numberWithDouble(v);
}
Ref<Object> flag(bool v) {
    return NSNumber::numberWithBool(v);
}
Ref<Object> array(std::vector<Ref<Object>> items) {
    return NSArray::create(std::move(items));
}
Ref<Object> colour_entry(const char* id, const char* hex) {
    return dict({{id, ns(hex)}});
}

SettingsState loaded_all(const NSDictionary* d) {
    SettingsState s;
    for (Group g : kGroups)
        apply_group(s, g, d);
    return s;
}

std::map<std::string, std::string> colours(const SettingsState& s) {
    std::map<std::string, std::string> out;
    for (auto& id : s.per_app_colours->keys())
        out[id] = *string_of(s.per_app_colours->get(id).get());
    return out;
}

} // namespace

TEST(SettingsLoaders, NoFileGivesEveryDefault) {
    SettingsState s = loaded_all(nullptr);
    EXPECT_TRUE(s.BannersEnabled);
    EXPECT_EQ(s.BannerSaturation, 1.0);
    EXPECT_EQ(s.BannerAlpha, 1.0);
    EXPECT_FALSE(s.BannersUnicornEnabled);
    EXPECT_TRUE(s.AllowSaturation);
    EXPECT_FALSE(s.SpecificAppColor);
    EXPECT_TRUE(s.NotificationCenterEnabled);
    EXPECT_TRUE(s.NotificationLayerEnabled);
    EXPECT_EQ(s.NotificationCenterHeaderAlpha, 1.0);
    EXPECT_FALSE(s.NotificationUnicornEnabled);
    EXPECT_TRUE(s.LockscreenEnabled);
    EXPECT_TRUE(s.LockscreenBlurEnabled);
    EXPECT_FALSE(s.LockscreenUnicornEnabled);
    EXPECT_TRUE(s.AutoTextColor);
    EXPECT_TRUE(s.QRKeyboardColor);
    EXPECT_FALSE(s.OnlyHeaders);
    EXPECT_FALSE(s.tavoEffect);
    EXPECT_TRUE(s.EffectToday);
    EXPECT_EQ(s.per_app_colours, nullptr);
}

TEST(SettingsLoaders, PartialFileKeepsOtherDefaults) {
    auto d = dict({{"BannerAlpha", number(0.5)}});
    SettingsState s = loaded_all(d);
    EXPECT_EQ(s.BannerAlpha, 0.5);
    EXPECT_EQ(s.BannerSaturation, 1.0);
    EXPECT_TRUE(s.BannersEnabled);
    EXPECT_EQ(s.per_app_colours, nullptr);
}

TEST(SettingsLoaders, NumbersPassThroughSinglePrecision) {
    struct Row {
        Ref<Object> stored;
        double expected;
    };
    const Row rows[] = {
        {number(0.3), 0.30000001192092896},
        {number(0.7), 0.699999988079071},
        {number(0.5), 0.5},
        {ns("0.5"), 0.5},
        {ns("0.3"), 0.30000001192092896},
        {ns("abc"), 0.0},
        {flag(true), 1.0},
        {NSNumber::numberWithInteger(2), 2.0},
        // Neither a number nor a string: read as absent rather than crash the host.
        {array({}), 1.0},
    };
    for (auto& row : rows) {
        SettingsState s;
        auto d = dict({{"BannerAlpha", row.stored}});
        apply_group(s, Group::Banner, d);
        EXPECT_EQ(s.BannerAlpha, row.expected);
    }
}

TEST(SettingsLoaders, BoolsReadThroughBoolValue) {
    struct Row {
        Ref<Object> stored;
        bool expected;
    };
    const Row rows[] = {
        {flag(false), false},
        {flag(true), true},
        {number(0.0), false},
        {number(0.25), true},
        {ns("YES"), true},
        {ns("1"), true},
        {ns("NO"), false},
        {ns("0"), false},
        {ns(""), false},
        {ns("true"), true},
        {array({}), false} /* default of tavoEffect */,
    };
    for (auto& row : rows) {
        SettingsState s;
        auto d = dict({{"tavoEffect", row.stored}});
        apply_group(s, Group::Requests, d);
        EXPECT_EQ(s.tavoEffect, row.expected);
    }
}

TEST(SettingsLoaders, AGroupReloadTouchesOnlyItsGroup) {
    SettingsState s = loaded_all(nullptr);
    auto d =
        dict({{"BannerAlpha", number(0.25)}, {"tavoEffect", flag(true)}, {"LockscreenAlpha", number(0.5)}});
    apply_group(s, Group::Requests, d);
    EXPECT_TRUE(s.tavoEffect);
    EXPECT_EQ(s.BannerAlpha, 1.0);
    EXPECT_EQ(s.LockscreenAlpha, 1.0);
    apply_group(s, Group::Banner, d);
    EXPECT_EQ(s.BannerAlpha, 0.25);
}

TEST(SettingsLoaders, PerAppColours) {
    SettingsState s;
    // The later entry for an identifier wins.
    apply_group(
        s, Group::Banner,
        dict({{"Specific_App_Color", array({colour_entry("com.a", "ff0000"), colour_entry("com.b", "00ff00"),
                                            colour_entry("com.a", "0000FF")})}}));
    EXPECT_EQ(colours(s), (std::map<std::string, std::string>{{"com.a", "0000FF"}, {"com.b", "00ff00"}}));

    // An absent key keeps the colours of the last load that found it.
    apply_group(s, Group::Banner, dict({{"BannerAlpha", number(0.5)}}));
    ASSERT_NE(s.per_app_colours, nullptr);
    EXPECT_EQ(colours(s).size(), 2u);
    apply_group(s, Group::Banner, nullptr);
    EXPECT_EQ(colours(s).size(), 2u);

    // An empty array empties the dictionary.
    apply_group(s, Group::Banner, dict({{"Specific_App_Color", array({})}}));
    ASSERT_NE(s.per_app_colours, nullptr);
    EXPECT_TRUE(colours(s).empty());

    // Elements the pane never writes are skipped; a several-entry dictionary gives its first key.
    auto two = dict({{"com.first", ns("111111")}, {"com.second", ns("222222")}});
    apply_group(s, Group::Banner,
                dict({{"Specific_App_Color", array({ns("com.x"), dict({}), dict({{"com.n", number(3)}}), two,
                                                    colour_entry("com.ok", "abcdef")})}}));
    EXPECT_EQ(colours(s),
              (std::map<std::string, std::string>{{"com.first", "111111"}, {"com.ok", "abcdef"}}));

    // A value that is no array at all holds no colours.
    apply_group(s, Group::Banner, dict({{"Specific_App_Color", ns("ff0000")}}));
    EXPECT_TRUE(colours(s).empty());
}

TEST(SettingsLoaders, LoadGroupReadsTheDeviceFileXmlOrBinary) {
    for (auto format : {PlistFormat::XML, PlistFormat::Binary}) {
        zimtone::testing::TempDevice device;
        auto& s = state();
        s = SettingsState{};
        load_group(Group::Banner);
        EXPECT_EQ(s.dictionary, nullptr);
        EXPECT_EQ(s.BannerAlpha, 1.0);

        auto d = dict({{"BannerAlpha", number(0.3)},
                       {"Specific_App_Color", array({colour_entry("com.apple.MobileSMS", "7f7f7f")})}});
        ASSERT_TRUE(write_property_list_file(kSettingsFile, d, format));
        loadBannerSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(s.dictionary, nullptr);
        EXPECT_EQ(s.BannerAlpha, 0.30000001192092896);
        EXPECT_EQ(colours(s), (std::map<std::string, std::string>{{"com.apple.MobileSMS", "7f7f7f"}}));

        // A Requests reload replaces the shared dictionary but leaves the Banner variables alone.
        ASSERT_TRUE(write_property_list_file(kSettingsFile, dict({{"BannerAlpha", number(0.5)}}), format));
        loadRequests(nullptr, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(s.BannerAlpha, 0.30000001192092896);
        EXPECT_EQ(s.dictionary->count(), 1u);
    }
}
