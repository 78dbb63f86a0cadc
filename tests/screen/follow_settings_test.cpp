// Hosts that follow the settings open again what their screen shows after a reload notification,
// once the tweak has taken the new settings, so the next frame shows them; a host that does not
// follow them (the default) keeps its screen as it was until something new is shown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "sim/launcher/JsonValues.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using zimtone::testing::HostUnderTest;
using zimtone::testing::TempDevice;
namespace notifications = zimtone::settings::notifications;

struct Surface {
    const char* name;
    const char* role;
    std::vector<std::string> open; // host commands that put the surface on screen
    json settings;                 // a change that shows on it
    const char* reload;            // the notification the Settings app posts after that change
};

const Surface kSurfaces[] = {
    {"banner",
     "springboard",
     {"bulletin com.apple.weather Weather Rain"},
     {{"BannerSaturation", 0.0}},
     notifications::kLoadBanner},
    {"Notification Center",
     "springboard",
     {"bulletin com.apple.weather Weather Rain", "dismiss", "nc open"},
     {{"NotificationCenterSaturation", 0.0}},
     notifications::kLoadNotificationCenter},
    {"lock screen",
     "springboard",
     {"lock", "bulletin com.apple.weather Weather Rain"},
     {{"LockscreenSaturation", 0.0}},
     notifications::kLoadLockscreen},
    {"quick reply",
     "messages",
     {"reply Anna \"See you at noon\"", "type Sure"},
     {{"QRKeyboardColor", false}},
     notifications::kLoadRequests},
};

class FollowSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string init = (zimtone::testing::build_bin_dir() / "zimtone").string() + " --root " +
                           device_.root().string() + " device init > /dev/null";
        ASSERT_EQ(std::system(init.c_str()), 0);
    }

    std::string frame(HostUnderTest& host) {
        fs::path path = device_.root() / "frame.png";
        json answer = host.command("screenshot " + path.string());
        EXPECT_EQ(answer.value("ok", false), true) << answer;
        std::ifstream in(path, std::ios::binary);
        std::string png{std::istreambuf_iterator<char>(in), {}};
        fs::remove(path);
        return png;
    }

    // Writes the settings as the Settings app does and posts its notification; the host serves
    // it (and anything it deferred) on its next turn.
    void change_settings(HostUnderTest& host, const Surface& surface) {
        ASSERT_TRUE(platform::foundation::write_property_list_file(
            zimtone::settings::kSettingsFile, zimtone::sim::object_from_json(surface.settings)));
        platform::foundation::CFNotificationCenterPostNotification(
            platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(), surface.reload, nullptr,
            nullptr, true);
        ASSERT_EQ(host.command("advance 0").value("ok", false), true);
    }

    // The frames before and after a settings change with the surface on screen.
    std::pair<std::string, std::string> frames_around_change(const Surface& surface, bool follow) {
        fs::remove(device_.path(zimtone::settings::kSettingsFile));
        HostUnderTest host(surface.role, device_.root(), true);
        EXPECT_TRUE(host.ready().is_object());
        if (follow) { // a host started on its own does not follow them
            EXPECT_EQ(host.command("follow-settings on").value("follow", false), true);
        }
        for (const auto& line : surface.open)
            EXPECT_EQ(host.command(line).value("ok", false), true) << surface.name << ": " << line;
        std::string before = frame(host);
        change_settings(host, surface);
        std::string after = frame(host);
        EXPECT_EQ(host.finish(), 0);
        return {before, after};
    }

    TempDevice device_;
};

TEST_F(FollowSettings, EachSurfaceOnScreenShowsTheNewSettingsInTheNextFrame) {
    for (const auto& surface : kSurfaces) {
        auto [before, after] = frames_around_change(surface, true);
        ASSERT_FALSE(before.empty()) << surface.name;
        EXPECT_NE(before, after) << surface.name << " was not opened again with the new settings";
    }
}

TEST_F(FollowSettings, WithoutFollowingTheScreenStaysAsItWas) {
    for (const auto& surface : kSurfaces) {
        auto [before, after] = frames_around_change(surface, false);
        ASSERT_FALSE(before.empty()) << surface.name;
        EXPECT_EQ(before, after) << surface.name
                                 << " changed on a reload though the host does not follow settings";
    }
}

TEST_F(FollowSettings, TheHostOptionSwitchesItOnAndTheCommandSaysHowItStands) {
    zimtone::sim::HostClient host(
        {zimtone::testing::build_bin_dir() / "zimtone-host", "springboard", device_.root(), true, {}},
        {{"--follow-settings"}});
    ASSERT_TRUE(host.ready().is_object());
    EXPECT_EQ(host.command("follow-settings off")["follow"], false);
    EXPECT_EQ(host.command("follow-settings on")["follow"], true);
    for (const char* bad : {"follow-settings", "follow-settings yes", "follow-settings on off"}) {
        json answer = host.command(bad);
        EXPECT_EQ(answer["ok"], false) << bad;
        EXPECT_EQ(answer.value("error", ""), "follow-settings takes on or off") << bad;
    }
    EXPECT_EQ(host.finish(), 0);
}

} // namespace
