#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/PlatformClasses.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "settings/SettingsJson.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDevice.h"
#include "tweak/Startup.h"

using namespace platform::foundation;
using namespace zimtone::tweak;
using nlohmann::json;

namespace {

// Starts the tweak in a fresh child process, as a host would load it, and reports what it did.
json start_in(const std::string& bundle_identifier, std::map<std::string, bool> switches = {}) {
    auto result = zimtone::testing::run_in_child([&] {
        zimtone::testing::TempDevice device;
        platform::register_platform_classes();
        NSBundle::set_main_bundle_identifier(bundle_identifier);
        if (!switches.empty()) {
            auto d = NSMutableDictionary::create();
            for (auto& [k, v] : switches)
                d->set(k, NSNumber::numberWithBool(v));
            write_property_list_file(zimtone::settings::kSettingsFile, d);
        }
        StartupReport r = start();
        return json{{"observers", notify_observed_names()},
                    {"groups", {r.notification_center, r.banner, r.lockscreen, r.quick_reply}},
                    {"settings", zimtone::settings::settings_json(zimtone::settings::state())}}
            .dump();
    });
    EXPECT_EQ(result.exit_code, 0);
    return json::parse(result.output, nullptr, false);
}

} // namespace

TEST(Startup, RegistersTheSevenObserversInOrder) {
    json r = start_in("com.apple.springboard");
    EXPECT_EQ(r["observers"],
              json({"org.quillhaven.zimtonepro2/inApp-TestBanner",
                    "org.quillhaven.zimtonepro2/lockScreen-TestBanner",
                    "org.quillhaven.zimtonepro2/load-Banner", "org.quillhaven.zimtonepro2/load-Lockscreen",
                    "org.quillhaven.zimtonepro2/load-NotificationCenter",
                    "org.quillhaven.zimtonepro2/respring", "org.quillhaven.zimtonepro2/load-Requests"}));
    // Every group was loaded before installation: no file means every default.
    EXPECT_EQ(r["settings"]["BannersEnabled"], true);
    EXPECT_EQ(r["settings"]["EffectToday"], true);
    EXPECT_EQ(r["settings"]["LockscreenAlpha"], 1.0);
    EXPECT_EQ(r["settings"]["Specific_App_Color"], nullptr);
}

TEST(Startup, GroupsFollowTheSwitchesAndTheProcess) {
    struct Row {
        const char* bundle;
        std::map<std::string, bool> switches;
        json groups; // Notification Center, banner, lock screen, quick reply
    };
    const Row rows[] = {
        {"com.apple.springboard", {}, {true, true, true, false}},
        {"com.apple.mobilesms.notification", {}, {true, true, true, true}},
        {"com.apple.MobileSMS.notification", {}, {true, true, true, false}},
        {"com.apple.mobilesms.notificatio", {}, {true, true, true, false}},
        {"com.apple.springboard", {{"NotificationCenterEnabled", false}}, {false, true, true, false}},
        {"com.apple.springboard", {{"BannersEnabled", false}}, {true, false, true, false}},
        {"com.apple.springboard", {{"LockscreenEnabled", false}}, {true, true, false, false}},
        {"com.apple.mobilesms.notification", {{"BannersEnabled", false}}, {true, false, true, true}},
    };
    for (auto& row : rows)
        EXPECT_EQ(start_in(row.bundle, row.switches)["groups"], row.groups) << row.bundle;
}
