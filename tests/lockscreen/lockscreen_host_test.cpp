#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/RunLoop.h"
#include "settings/Keys.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

using namespace platform::foundation;
using namespace zimtone::testing;
using nlohmann::json;

namespace {

void run_zimtone(const TempDevice& device, const std::string& arguments) {
    std::string command = (build_bin_dir() / "zimtone").string() + " --root " + device.root().string() + " " +
                          arguments + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void write_settings(std::initializer_list<std::pair<const char*, bool>> flags) {
    auto d = NSMutableDictionary::create();
    for (auto& [k, v] : flags)
        d->set(k, NSNumber::numberWithBool(v));
    ASSERT_TRUE(write_property_list_file(zimtone::settings::kSettingsFile, d));
}

void find_all(const json& view, const std::string& cls, std::vector<json>& out) {
    if (!view.is_object())
        return;
    if (view["class"] == cls)
        out.push_back(view);
    for (const auto& sub : view["subviews"])
        find_all(sub, cls, out);
}

std::vector<json> views_of(const json& dump, const std::string& cls) {
    std::vector<json> out;
    find_all(dump["screen"], cls, out);
    return out;
}

const json* label_with_text(const json& view, const std::string& text) {
    if (view.value("text", json()) == text)
        return &view;
    for (const auto& sub : view["subviews"])
        if (auto* found = label_with_text(sub, text))
            return found;
    return nullptr;
}

// Posts the lock-screen test notification from another process and waits for its cell.
json post_test_notification_and_wait(const TempDevice& device, HostUnderTest& host, size_t cells = 1) {
    run_zimtone(device, "post org.quillhaven.zimtonepro2/lockScreen-TestBanner");
    json dump;
    for (int i = 0; i < 200; ++i) {
        dump = host.command("dump");
        if (views_of(dump, "SBLockScreenBulletinCell").size() >= cells)
            break;
        RunLoop::main().run_for(0.05);
    }
    return dump;
}

class LockscreenHost : public ::testing::Test {
  protected:
    void SetUp() override { run_zimtone(device_, "device init"); }
    TempDevice device_;
};

} // namespace

TEST_F(LockscreenHost, PostedTestNotificationLocksTheHostAndAddsAColouredNotification) {
    HostUnderTest host("springboard", device_.root(), true);
    ASSERT_TRUE(views_of(host.command("dump"), "SBLockScreenView").empty());

    json dump = post_test_notification_and_wait(device_, host);
    ASSERT_EQ(views_of(dump, "SBLockScreenView").size(), 1u) << dump.dump();
    auto cells = views_of(dump, "SBLockScreenBulletinCell");
    ASSERT_EQ(cells.size(), 1u);
    const json& content = cells[0]["subviews"][0];
    ASSERT_TRUE(content["background"].is_array()) << content.dump();
    EXPECT_EQ(content["background"][3], 1.0);

    const json* title = label_with_text(cells[0], "Zimtone 2");
    const json* credit = label_with_text(cells[0], "Created by Mossglint");
    const json* unlock = label_with_text(cells[0], "slide to view");
    const json* date = label_with_text(cells[0], "now");
    ASSERT_TRUE(title && credit && unlock && date);
    const json white = json::array({1.0, 1.0, 1.0, 1.0});
    const json black = json::array({0.0, 0.0, 0.0, 1.0});
    EXPECT_TRUE((*title)["textColor"] == white || (*title)["textColor"] == black) << title->dump();
    EXPECT_EQ((*credit)["textColor"], (*title)["textColor"]);
    EXPECT_EQ((*unlock)["textColor"], (*title)["textColor"]);
    EXPECT_EQ((*date)["layer"]["compositingFilter"], nullptr);
    EXPECT_EQ((*unlock)["layer"]["compositingFilter"], nullptr);

    EXPECT_EQ(host.command("lock")["locked"], true);
    EXPECT_EQ(host.finish(), 0);
}

TEST_F(LockscreenHost, GradientCyclingUnderlayAndRemovalThroughCommands) {
    write_settings({{"tavoEffect", true},
                    {"LockscreenBlurEnabled", false},
                    {"LockscreenUnicornEnabled", true},
                    {"AllowSaturationLock", false}});
    HostUnderTest host("springboard", device_.root(), true);
    json dump = post_test_notification_and_wait(device_, host);
    auto lists = views_of(dump, "SBLockScreenNotificationListView");
    ASSERT_EQ(lists.size(), 1u) << dump.dump();
    const json& tavo = lists[0]["subviews"].back();
    const json content = views_of(dump, "SBLockScreenBulletinCell").at(0)["subviews"][0];
    const json clear = json::array({0.0, 0.0, 0.0, 0.0});
    EXPECT_EQ(tavo["layer"]["gradient"], json::array({clear, content["background"]})) << tavo.dump();
    // The blur is off: the list's underlay request was swallowed.
    auto lock = views_of(dump, "SBLockScreenView").at(0);
    for (const auto& sub : lock["subviews"])
        EXPECT_NE(sub["class"], "UIView") << sub.dump();

    ASSERT_EQ(host.command("advance 0.5")["ok"], true);
    json ticked = host.command("dump");
    const json recoloured = views_of(ticked, "SBLockScreenBulletinCell").at(0)["subviews"][0];
    EXPECT_NE(recoloured["background"], content["background"]);
    EXPECT_NE(
        views_of(ticked, "SBLockScreenNotificationListView").at(0)["subviews"].back()["layer"]["gradient"],
        tavo["layer"]["gradient"]);

    EXPECT_EQ(host.command("lockscreen clear")["removed"], true);
    EXPECT_TRUE(views_of(host.command("dump"), "SBLockScreenNotificationListView").empty());
    EXPECT_EQ(host.command("lockscreen clear")["removed"], false);
    const std::pair<const char*, const char*> bad_lines[] = {
        {"lockscreen sweep", "lockscreen takes one word: clear"},
        {"lockscreen", "lockscreen takes one word: clear"},
        {"lockscreen clear now", "lockscreen takes one word: clear"},
        {"lock now", "lock takes no arguments"},
        {"unlock 1", "unlock takes no arguments"},
    };
    for (auto [line, error] : bad_lines) {
        json bad = host.command(line);
        EXPECT_EQ(bad["ok"], false) << line;
        EXPECT_EQ(bad["error"], error) << line;
    }
    EXPECT_EQ(views_of(host.command("dump"), "SBLockScreenView").size(), 1u); // still locked

    EXPECT_EQ(host.command("unlock")["locked"], false);
    EXPECT_TRUE(views_of(host.command("dump"), "SBLockScreenView").empty());
    EXPECT_EQ(host.command("lock")["locked"], true);
    json relocked = host.command("dump");
    EXPECT_EQ(views_of(relocked, "SBLockScreenView").size(), 1u);
    EXPECT_TRUE(views_of(relocked, "SBLockScreenBulletinCell").empty());
    EXPECT_EQ(host.finish(), 0);
}

TEST_F(LockscreenHost, UnderlayShownWithTheBlurOnAndEachPostAddsANotification) {
    HostUnderTest host("springboard", device_.root(), true);
    post_test_notification_and_wait(device_, host);
    json dump = post_test_notification_and_wait(device_, host, 2);
    ASSERT_EQ(views_of(dump, "SBLockScreenBulletinCell").size(), 2u);
    auto lock = views_of(dump, "SBLockScreenView").at(0);
    EXPECT_EQ(lock["subviews"][0]["class"], "UIView");
    EXPECT_EQ(lock["subviews"][0]["background"], json::array({0.0, 0.0, 0.0, 0.35}));
    EXPECT_EQ(host.finish(), 0);
}
