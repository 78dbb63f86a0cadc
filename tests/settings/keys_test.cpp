#include <gtest/gtest.h>

#include <set>

#include "settings/ExcludedApps.h"
#include "settings/Keys.h"

using namespace zimtone::settings;

TEST(SettingsKeys, GroupsHoldTheirKeysInLoadOrder) {
    auto names = [](Group g) {
        std::vector<std::string_view> out;
        for (auto& k : keys_of(g))
            out.push_back(k.key);
        return out;
    };
    EXPECT_EQ(names(Group::Banner), (std::vector<std::string_view>{"BannersEnabled", "BannerSaturation",
                                                                   "BannerAlpha", "BannersUnicornEnabled",
                                                                   "AllowSaturation", "SpecificAppColor"}));
    EXPECT_EQ(names(Group::NotificationCenter),
              (std::vector<std::string_view>{"NotificationCenterEnabled", "NotificationCenterSaturation",
                                             "NotificationLayerEnabled", "NotificationCenterAlpha",
                                             "NotificationCenterHeaderAlpha", "AllowSaturationNotification",
                                             "NotificationUnicornEnabled"}));
    EXPECT_EQ(names(Group::Lockscreen),
              (std::vector<std::string_view>{"LockscreenEnabled", "LockscreenSaturation", "LockscreenAlpha",
                                             "LockscreenBlurEnabled", "AllowSaturationLock",
                                             "LockscreenUnicornEnabled"}));
    EXPECT_EQ(names(Group::Requests),
              (std::vector<std::string_view>{"AutoTextColor", "QRKeyboardColor", "OnlyHeaders", "tavoEffect",
                                             "EffectToday"}));
}

TEST(SettingsKeys, RestartMarksAndDefaults) {
    struct Row {
        const char* key;
        double default_value;
        bool restart;
    };
    const Row rows[] = {
        {"BannersEnabled", 1, true},
        {"BannerAlpha", 1.0, false},
        {"BannersUnicornEnabled", 0, false},
        {"SpecificAppColor", 0, false},
        {"NotificationCenterSaturation", 1.0, true},
        {"NotificationUnicornEnabled", 0, true},
        {"LockscreenEnabled", 1, true},
        {"LockscreenBlurEnabled", 1, false},
        {"OnlyHeaders", 0, true},
        {"tavoEffect", 0, false},
        {"EffectToday", 1, true},
        {"QRKeyboardColor", 1, true},
    };
    for (auto& row : rows) {
        auto info = find_key(row.key);
        ASSERT_TRUE(info) << row.key;
        EXPECT_EQ(info->default_value, row.default_value) << row.key;
        EXPECT_EQ(info->needs_restart, row.restart) << row.key;
    }
    EXPECT_FALSE(find_key("Specific_App_Color"));
    EXPECT_FALSE(find_key("bannersenabled"));
}

TEST(SettingsKeys, ReloadNotificationPerGroup) {
    EXPECT_STREQ(reload_notification(Group::Banner), "org.quillhaven.zimtonepro2/load-Banner");
    EXPECT_STREQ(reload_notification(Group::NotificationCenter),
                 "org.quillhaven.zimtonepro2/load-NotificationCenter");
    EXPECT_STREQ(reload_notification(Group::Lockscreen), "org.quillhaven.zimtonepro2/load-Lockscreen");
    EXPECT_STREQ(reload_notification(Group::Requests), "org.quillhaven.zimtonepro2/load-Requests");
}

TEST(ExcludedApps, FiftyOneForTheTweakFiftyThreeForThePane) {
    std::set<std::string_view> distinct(kExcludedSystemApps.begin(), kExcludedSystemApps.end());
    EXPECT_EQ(distinct.size(), 51u);
    EXPECT_TRUE(is_excluded_system_app("com.apple.springboard"));
    EXPECT_TRUE(is_excluded_system_app("com.apple.mobilesms.notification"));
    EXPECT_FALSE(is_excluded_system_app("com.apple.SpringBoard")); // case-sensitive
    EXPECT_FALSE(is_excluded_system_app("com.apple.CloudKit.ShareBear"));
    EXPECT_TRUE(is_excluded_from_pane("com.apple.CloudKit.ShareBear"));
    EXPECT_TRUE(is_excluded_from_pane("com.apple.social.SLGoogleAuth"));
    EXPECT_TRUE(is_excluded_from_pane("com.apple.webapp1"));
    EXPECT_FALSE(is_excluded_from_pane("com.apple.MobileSMS"));
}
