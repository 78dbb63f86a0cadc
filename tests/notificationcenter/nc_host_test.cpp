// Notification Center in a real home-screen process with the tweak injected, seen through the
// host's commands and its view dump.
#include <gtest/gtest.h>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

using namespace platform::foundation;
using namespace zimtone::testing;
using nlohmann::json;

namespace {

void set_up_device(const TempDevice& device,
                   std::initializer_list<std::pair<const char*, Ref<Object>>> settings) {
    std::string command = (build_bin_dir() / "zimtone").string() + " --root " + device.root().string() +
                          " device init > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    auto d = NSMutableDictionary::create();
    for (auto& [k, v] : settings)
        d->set(k, v);
    ASSERT_TRUE(write_property_list_file(zimtone::settings::kSettingsFile, d));
}

// Depth first, every view of the class.
void collect(const json& view, const std::string& cls, std::vector<json>& out) {
    if (view.value("class", "") == cls)
        out.push_back(view);
    for (auto& sub : view.value("subviews", json::array()))
        collect(sub, cls, out);
}

std::vector<json> views_of(HostUnderTest& host, const std::string& cls) {
    auto dump = host.command("dump");
    std::vector<json> out;
    collect(dump["screen"], cls, out);
    return out;
}

// A header's content view is the subview that is not its backdrop.
json content_of(const json& header) {
    for (auto& sub : header["subviews"])
        if (sub["class"] == "UIView")
            return sub;
    return nullptr;
}

} // namespace

TEST(NotificationCenterInHost, OpenShowsColouredHeadersWithoutBackdropAndTicksRecolour) {
    TempDevice device;
    set_up_device(device, {{"NotificationCenterHeaderAlpha", NSNumber::numberWithDouble(0.4)},
                           {"NotificationCenterAlpha", NSNumber::numberWithDouble(0.5)},
                           {"NotificationUnicornEnabled", NSNumber::numberWithBool(true)},
                           {"AllowSaturationNotification", NSNumber::numberWithBool(false)}});
    HostUnderTest springboard("springboard", device.root(), true);
    ASSERT_EQ(springboard.ready()["injected"], json({"Zimtone2"}));

    auto open = springboard.command("nc open");
    ASSERT_EQ(open["ok"], true) << open.dump();
    EXPECT_EQ(open["open"], true);
    auto headers = views_of(springboard, "SBNotificationCenterHeaderView");
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_TRUE(views_of(springboard, "_UIBackdropView").empty());
    auto background = content_of(headers[0])["background"];
    ASSERT_TRUE(background.is_array()) << headers[0].dump();
    EXPECT_NEAR(background[3].get<double>(), 0.4, 1e-6);
    auto cells = views_of(springboard, "UITableViewCell");
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_NEAR(cells[0]["background"][3].get<double>(), 0.8, 1e-12);

    ASSERT_EQ(springboard.command("advance 0.5")["ok"], true);
    headers = views_of(springboard, "SBNotificationCenterHeaderView");
    cells = views_of(springboard, "UITableViewCell");
    EXPECT_NEAR(content_of(headers[0])["background"][3].get<double>(), 0.5, 1e-6);
    EXPECT_NEAR(cells[0]["background"][3].get<double>(), 0.5, 1e-6);

    auto closed = springboard.command("nc close");
    EXPECT_EQ(closed["open"], false);
    EXPECT_TRUE(views_of(springboard, "SBNotificationCenterHeaderView").empty());
    auto bad = springboard.command("nc sideways");
    EXPECT_EQ(bad["ok"], false);
    EXPECT_EQ(bad["error"], "nc takes open or close");
    EXPECT_EQ(springboard.finish(), 0);
}

TEST(NotificationCenterInHost, SwitchedOffAtStartUpLeavesTheHostsViews) {
    TempDevice device;
    set_up_device(device, {{"NotificationCenterEnabled", NSNumber::numberWithBool(false)}});
    HostUnderTest springboard("springboard", device.root(), true);
    ASSERT_EQ(springboard.command("nc open")["ok"], true);
    auto headers = views_of(springboard, "SBNotificationCenterHeaderView");
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(views_of(springboard, "_UIBackdropView").size(), 1u);
    EXPECT_EQ(content_of(headers[0])["background"], nullptr);
    EXPECT_EQ(views_of(springboard, "UITableViewCell")[0]["background"], nullptr);
    EXPECT_EQ(springboard.finish(), 0);
}
