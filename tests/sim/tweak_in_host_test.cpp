#include <gtest/gtest.h>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/RunLoop.h"
#include "settings/Keys.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

using namespace platform::foundation;
using namespace zimtone::testing;

namespace {

// A device root set up as `zimtone device init` does it.
void set_up_device(const TempDevice& device) {
    std::string command = (build_bin_dir() / "zimtone").string() + " --root " + device.root().string() +
                          " device init > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

void write_settings(std::initializer_list<std::pair<const char*, double>> numbers) {
    auto d = NSMutableDictionary::create();
    for (auto& [k, v] : numbers)
        d->set(k, NSNumber::numberWithDouble(v));
    ASSERT_TRUE(write_property_list_file(zimtone::settings::kSettingsFile, d));
}

} // namespace

TEST(TweakInHost, LoadedOnlyWhereTheFilterSaysAndRereadsBannerSettingsOnNotification) {
    TempDevice device;
    set_up_device(device);
    write_settings({{"BannerAlpha", 0.3}});

    HostUnderTest springboard("springboard", device.root());
    ASSERT_EQ(springboard.ready()["injected"], nlohmann::json({"Zimtone2"}));
    auto tweak = springboard.command("tweak");
    ASSERT_EQ(tweak["ok"], true) << tweak.dump();
    EXPECT_EQ(tweak["settings"]["BannerAlpha"].get<double>(), 0.30000001192092896);
    EXPECT_EQ(tweak["groups"]["QuickReply"], false);

    write_settings({{"BannerAlpha", 0.5}, {"LockscreenAlpha", 0.5}});
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         zimtone::settings::notifications::kLoadBanner, nullptr, nullptr,
                                         true);
    double alpha = 0;
    for (int i = 0; i < 50 && alpha != 0.5; ++i) {
        RunLoop::main().run_for(0.05);
        alpha = springboard.command("tweak")["settings"]["BannerAlpha"].get<double>();
    }
    EXPECT_EQ(alpha, 0.5);
    // Only the Banner group was reread.
    EXPECT_EQ(springboard.command("tweak")["settings"]["LockscreenAlpha"].get<double>(), 1.0);
    EXPECT_EQ(springboard.finish(), 0);
}

TEST(TweakInHost, MessagesExtensionInstallsTheQuickReplyGroup) {
    TempDevice device;
    set_up_device(device);
    HostUnderTest messages("messages", device.root());
    auto tweak = messages.command("tweak");
    ASSERT_EQ(tweak["ok"], true) << tweak.dump();
    EXPECT_EQ(tweak["groups"]["QuickReply"], true);
    EXPECT_EQ(tweak["groups"]["Banner"], true);
}

TEST(TweakInHost, HookTableTotalsByProcessAndMasterSwitch) {
    struct Case {
        const char* role;
        std::initializer_list<std::pair<const char*, double>> settings; // empty: no settings file
        int replaced;
        int added;
    };
    const Case cases[] = {
        {"springboard", {}, 17, 25},
        // Notification Center's 14 rows (6 replacements, 8 added methods) are skipped.
        {"springboard", {{"NotificationCenterEnabled", 0}}, 11, 17},
        // The banner rows only (5 replacements, 10 added methods).
        {"springboard", {{"BannersEnabled", 0}}, 12, 15},
        // Home-screen rows find no classes in the extension; only its own group installs.
        {"messages", {}, 8, 7},
    };
    for (const auto& c : cases) {
        TempDevice device;
        set_up_device(device);
        if (c.settings.size())
            write_settings(c.settings);
        HostUnderTest host(c.role, device.root());
        auto tweak = host.command("tweak");
        ASSERT_EQ(tweak["ok"], true) << tweak.dump();
        EXPECT_EQ(tweak["replaced"], c.replaced) << c.role << " " << c.settings.size();
        EXPECT_EQ(tweak["added"], c.added) << c.role << " " << c.settings.size();
        EXPECT_EQ(tweak["groups"]["QuickReply"], std::string(c.role) == "messages");
        EXPECT_EQ(host.finish(), 0);
    }
}
