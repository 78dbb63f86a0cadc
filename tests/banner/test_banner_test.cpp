// The pane's requests reaching a running home screen: a test banner after a random eligible
// app, and the respring that restarts the host and its tweak.
#include <csignal>
#include <set>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/NotifyCenter.h"
#include "settings/ExcludedApps.h"
#include "settings/Keys.h"
#include "sim/hosts/HostProcess.h"
#include "tests/banner/banner_host_support.h"

using namespace zimtone::testing;
namespace notifications = zimtone::settings::notifications;

namespace {

// The apps a test banner may claim to come from: installed, not excluded, with an icon.
std::set<std::string> eligible_apps_with_icons() {
    std::set<std::string> eligible;
    auto apps = platform::applist::ALApplicationList::withAppsFolder();
    for (const auto& app : apps->apps())
        if (!zimtone::settings::is_excluded_system_app(app.bundle_identifier) &&
            apps->iconOfSizeForDisplayIdentifier(29, platform::foundation::ns(app.bundle_identifier).get()))
            eligible.insert(app.bundle_identifier);
    return eligible;
}

} // namespace

TEST(TestBanner, ComesFromARandomEligibleAppAndIsColouredAfterIt) {
    BannerDevice device;
    const auto eligible = eligible_apps_with_icons();
    ASSERT_FALSE(eligible.contains("com.example.plaintext"))
        << "the sample device has an app without an icon";
    ASSERT_FALSE(eligible.contains("com.apple.springboard"));

    // The first request comes the way the pane's would, through the command line tool.
    device.host();
    std::string post = (build_bin_dir() / "zimtone").string() + " --root " + device.device().root().string() +
                       " post " + notifications::kTestBanner;
    ASSERT_EQ(std::system(post.c_str()), 0);
    device.run("advance 0");

    std::set<std::string> drawn;
    for (int request = 0; request < 24; ++request) {
        SCOPED_TRACE(request);
        if (request > 0)
            device.post(notifications::kTestBanner);
        auto banner = banner_of(device.run("dump"));
        ASSERT_TRUE(banner.is_object()) << "no banner came down";
        const auto& bulletin = banner["bulletin"];
        const std::string app = bulletin["sectionID"];
        EXPECT_TRUE(eligible.contains(app)) << app;
        EXPECT_EQ(banner["item"], "SBBulletinBannerItem");
        EXPECT_EQ(bulletin["title"], "Zimtone 2");
        EXPECT_EQ(bulletin["message"], "Created by Mossglint");
        EXPECT_TRUE(bulletin["subtitle"].is_null());
        EXPECT_EQ(bulletin["bulletinID"], "org.quillhaven.zimtone2");
        EXPECT_EQ(find_view(banner, "_UIBackdropView")["tint"], saturated_icon_colour(app, 1.0));
        drawn.insert(app);
        device.run("dismiss");
    }
    EXPECT_GT(drawn.size(), 1u) << "the app is drawn at random";
}

TEST(TestBanner, NoneWhileABannerIsOnScreen) {
    BannerDevice device;
    device.run("bulletin com.example.zebra Zebra Stripes");
    device.post(notifications::kTestBanner);
    EXPECT_EQ(banner_of(device.run("dump"))["bulletin"]["sectionID"], "com.example.zebra");
    EXPECT_EQ(device.run("dismiss")["waiting"], 0) << "the test banner was not queued either";
    EXPECT_TRUE(banner_of(device.run("dump")).is_null());
}

TEST(TestBanner, NoneOfEitherKindWhenNoListedAppHasAnIcon) {
    BannerDevice device;
    std::vector<std::filesystem::path> icons;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(device.device().path("/Applications")))
        if (entry.path().extension() == ".png")
            icons.push_back(entry.path());
    ASSERT_FALSE(icons.empty());
    for (const auto& icon : icons)
        std::filesystem::remove(icon);

    device.host();
    device.post(notifications::kTestBanner);
    EXPECT_TRUE(banner_of(device.run("dump")).is_null());
    // The lock-screen request still locks first, then finds no app to claim a notification from.
    device.post(notifications::kTestLockscreenBanner);
    auto screen = device.run("dump")["screen"];
    EXPECT_FALSE(find_view(screen, "SBLockScreenView").is_null()) << "locked";
    EXPECT_TRUE(find_views(screen, "SBLockScreenBulletinCell").empty());
    EXPECT_EQ(device.run("ping")["ok"], true);
}

TEST(Respring, EndsTheHostWithTheRespringStatusAndANewHostReadsTheFileAgain) {
    std::signal(SIGPIPE, SIG_IGN); // the host may be gone when the test writes to it
    BannerDevice device(json({{"BannerAlpha", 0.25}}));
    device.run("bulletin com.example.zebra Zebra Stripes");
    EXPECT_EQ(find_view(banner_of(device.run("dump")), "_UIBackdropView")["tintAlpha"], 0.25);

    // Changed without a reload notification: only a new start-up can read it.
    device.write_settings({{"BannerAlpha", 0.75}});
    device.host(); // started before the post, so that it observes it
    using namespace platform::foundation;
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         notifications::kRespring, nullptr, nullptr, true);
    // The host must end by itself (a command sent now could find it gone): wait for its exit.
    std::optional<int> raw;
    for (int i = 0; i < 200 && !raw; ++i) {
        raw = device.host().poll_exit();
        if (!raw)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(raw) << "the host did not end after the respring notification";
    ASSERT_TRUE(WIFEXITED(*raw));
    EXPECT_EQ(WEXITSTATUS(*raw), zimtone::sim::kRespringExitStatus);

    auto& host = device.restart_host();
    auto tweak = host.command("tweak");
    EXPECT_EQ(tweak["groups"]["Banner"], true);
    EXPECT_EQ(tweak["settings"]["BannerAlpha"], 0.75);
    device.run("bulletin com.example.zebra Zebra Stripes");
    EXPECT_EQ(find_view(banner_of(device.run("dump")), "_UIBackdropView")["tintAlpha"], 0.75);
}
