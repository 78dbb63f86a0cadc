// The home screen: which apps it shows and where, its icons as buttons that post a notification
// from their app with the composer's texts, and the status bar's clock following the run loop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "platform/PlatformClasses.h"
#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/BulletinStore.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "sim/hosts/HomeScreen.h"
#include "sim/hosts/Screen.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace zimtone::sim;
using nlohmann::json;
using platform::applist::AppRecord;
using platform::foundation::RunLoop;
using platform::uikit::UIButton;
using platform::uikit::UIControlEventTouchUpInside;
using platform::uikit::UIView;

std::vector<AppRecord> apps(std::initializer_list<const char*> identifiers) {
    std::vector<AppRecord> records;
    for (const char* id : identifiers)
        records.push_back({id, std::string("name of ") + id, {}});
    return records;
}

std::vector<std::string> identifiers(const std::vector<AppRecord>& records) {
    std::vector<std::string> ids;
    for (const auto& r : records)
        ids.push_back(r.bundle_identifier);
    return ids;
}

TEST(HomeArrangement, DockTakesItsAppsAndThePagesTheRestInListOrder) {
    struct Case {
        const char* name;
        std::vector<AppRecord> installed;
        std::vector<std::string> dock;
        std::vector<std::string> pages;
    };
    const Case cases[] = {
        {"the preferred dock apps, in the dock's order",
         apps({"com.example.a", "com.apple.MobileSMS", "com.apple.mobilesafari", "com.apple.mobilemail",
               "com.apple.mobilephone", "com.example.b"}),
         {"com.apple.mobilephone", "com.apple.mobilemail", "com.apple.mobilesafari", "com.apple.MobileSMS"},
         {"com.example.a", "com.example.b"}},
        {"missing dock apps filled from the front of the list",
         apps({"com.example.a", "com.apple.mobilemail", "com.example.b", "com.example.c", "com.example.d"}),
         {"com.apple.mobilemail", "com.example.a", "com.example.b", "com.example.c"},
         {"com.example.d"}},
        {"the home screen itself and system services are left out",
         apps({"com.apple.springboard", "com.apple.mobilesms.notification", "com.apple.webapp",
               "com.apple.CloudKit.ShareBear", "com.apple.social.SLGoogleAuth", "com.example.a"}),
         {"com.example.a"},
         {}},
        {"no apps at all", {}, {}, {}},
    };
    for (const auto& c : cases) {
        auto arrangement = arrange_home_screen(c.installed);
        EXPECT_EQ(identifiers(arrangement.dock), c.dock) << c.name;
        EXPECT_EQ(identifiers(arrangement.pages), c.pages) << c.name;
    }
}

TEST(HomeArrangement, PagesHoldSixRowsOfFour) {
    const std::pair<size_t, size_t> cases[] = {{0, 1}, {1, 1}, {24, 1}, {25, 2}, {48, 2}, {49, 3}};
    for (auto [count, pages] : cases) {
        HomeArrangement arrangement;
        arrangement.pages.resize(count);
        EXPECT_EQ(arrangement.page_count(), pages) << count << " apps";
    }
}

TEST(HomeLayout, IconsFillFourColumnsWithinTheScreenAndEachPageStartsAgain) {
    std::set<double> columns, rows;
    for (size_t i = 0; i < home::kIconsPerPage; ++i) {
        auto frame = page_icon_frame(i);
        EXPECT_EQ(frame.size.width, 60);
        EXPECT_EQ(frame.size.height, 60);
        EXPECT_GE(frame.origin.x, 0);
        EXPECT_LE(frame.origin.x + frame.size.width, kScreenWidth);
        EXPECT_GE(frame.origin.y, home::kStatusBarHeight);
        // The name under the last row stays above the page dots and the dock.
        EXPECT_LE(frame.origin.y + home::kIconSize + home::kLabelGap + home::kLabelHeight,
                  kScreenHeight - home::kDockHeight - home::kPageDotsAboveDock - home::kPageDotSize / 2)
            << i;
        columns.insert(frame.origin.x);
        rows.insert(frame.origin.y);
        auto next_page = page_icon_frame(i + home::kIconsPerPage);
        EXPECT_EQ(next_page.origin.x, frame.origin.x);
        EXPECT_EQ(next_page.origin.y, frame.origin.y);
    }
    EXPECT_EQ(columns.size(), 4u);
    EXPECT_EQ(rows.size(), 6u);
    // Equal margins left and right.
    EXPECT_DOUBLE_EQ(*columns.begin(), kScreenWidth - (*columns.rbegin() + home::kIconSize));
    for (size_t slot = 0; slot < 4; ++slot)
        EXPECT_EQ(dock_icon_frame(slot, 4).origin.x, page_icon_frame(slot).origin.x)
            << "the dock keeps the columns";
}

// The home screen of this process, built once on the sample device (the application list and the
// screen are the process's own, as in a host).
class HomeScreenInProcess : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        device_ = new zimtone::testing::TempDevice;
        std::string init = (zimtone::testing::build_bin_dir() / "zimtone").string() + " --root " +
                           device_->root().string() + " device init > /dev/null";
        ASSERT_EQ(std::system(init.c_str()), 0);
        platform::foundation::set_device_root(device_->root());
        platform::register_platform_classes();
        host_ = new HostProcess("springboard", "com.apple.springboard");
        set_up_home_screen(*host_);
    }
    static void TearDownTestSuite() {
        delete device_; // the host and its screen stay: the process keeps them, as a host does
        device_ = nullptr;
    }
    void SetUp() override { platform::springboard::BulletinStore::shared().clear(); }

    // The icons on the screen by the app the dump names for each, the view tree and its dump
    // walked side by side.
    static std::map<std::string, UIButton*> icons() {
        std::map<std::string, UIButton*> found;
        std::function<void(UIView*, const json&)> walk = [&](UIView* view, const json& entry) {
            if (auto* button = dynamic_cast<UIButton*>(view); button && entry.contains("app"))
                found[entry["app"]] = button;
            const auto& children = view->subview_list();
            for (size_t i = 0; i < children.size() && i < entry["subviews"].size(); ++i)
                walk(children[i].get(), entry["subviews"][i]);
        };
        walk(screen(), dump_screen()["screen"]);
        return found;
    }

    static zimtone::testing::TempDevice* device_;
    static HostProcess* host_;
};
zimtone::testing::TempDevice* HomeScreenInProcess::device_ = nullptr;
HostProcess* HomeScreenInProcess::host_ = nullptr;

TEST_F(HomeScreenInProcess, EveryAppOfTheHomeScreenHasOneIconAndNothingElseDoes) {
    auto shown = icons();
    std::set<std::string> expected;
    for (const auto& app : platform::applist::ALApplicationList::sharedApplicationList()->apps())
        if (is_home_screen_app(app.bundle_identifier))
            expected.insert(app.bundle_identifier);
    std::set<std::string> got;
    for (auto& [app, button] : shown)
        got.insert(app);
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(got.contains("com.apple.springboard"));
    for (auto& [app, button] : shown) {
        EXPECT_TRUE(button->clipsToBounds()) << app;
        EXPECT_GT(button->layer()->cornerRadius(), 0) << app << ": icons have rounded corners";
    }
}

TEST_F(HomeScreenInProcess, ATapOnAnIconPostsFromItsAppWithTheComposersTexts) {
    auto shown = icons();
    ASSERT_TRUE(shown.contains("com.apple.weather"));
    shown["com.apple.weather"]->send_actions(UIControlEventTouchUpInside);
    const auto& store = platform::springboard::BulletinStore::shared().newest_first();
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(platform::springboard::BBBulletin::text(store[0]->sectionID()), "com.apple.weather");
    EXPECT_EQ(platform::springboard::BBBulletin::text(store[0]->title()), kDefaultComposerTitle);
    EXPECT_EQ(platform::springboard::BBBulletin::text(store[0]->message()), kDefaultComposerMessage);

    auto answer = host_->execute("composer Lunch \"At noon, downstairs\"");
    ASSERT_EQ(answer["ok"], true) << answer;
    shown["com.example.zebra"]->send_actions(UIControlEventTouchUpInside);
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(platform::springboard::BBBulletin::text(store[0]->sectionID()), "com.example.zebra");
    EXPECT_EQ(platform::springboard::BBBulletin::text(store[0]->title()), "Lunch");
    EXPECT_EQ(platform::springboard::BBBulletin::text(store[0]->message()), "At noon, downstairs");
    host_->execute("composer Hello \"This banner wears its app's colour\"");
}

TEST_F(HomeScreenInProcess, ComposerRefusesWhatItCannotPostAndKeepsItsTexts) {
    ASSERT_EQ(host_->execute("composer Keep Kept")["ok"], true);
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"composer OnlyATitle", "composer takes a title and a message, or nothing to show them"},
        {"composer a b c", "composer takes a title and a message, or nothing to show them"},
        {"composer \"\" Message", "composer takes a title and a message, neither empty"},
        {"composer Title \"\"", "composer takes a title and a message, neither empty"},
        {"composer \xff\xfe Message", "composer texts must be UTF-8"},
    };
    for (const auto& c : cases) {
        auto answer = host_->execute(c.line);
        EXPECT_EQ(answer["ok"], false) << c.line;
        EXPECT_EQ(answer.value("error", ""), c.error) << c.line;
    }
    auto shown = host_->execute("composer");
    EXPECT_EQ(shown["title"], "Keep");
    EXPECT_EQ(shown["message"], "Kept");
    host_->execute("composer Hello \"This banner wears its app's colour\"");
}

std::string from_base64(const std::string& text) {
    static const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=')
            break;
        bits = (bits << 6) | static_cast<uint32_t>(digits.find(c));
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xff);
        }
    }
    return bytes;
}

std::string file_bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the page's app picker shows beside each name: the app's own small icon file, the same
// picture the log carries, or nothing for an app without one.
TEST_F(HomeScreenInProcess, IconGivesEachAppsSmallIconFileAndRefusesWhatIsNoApp) {
    std::map<std::string, std::filesystem::path> folders;
    for (const auto& app : platform::applist::ALApplicationList::sharedApplicationList()->apps())
        folders[app.bundle_identifier] = app.bundle_folder;
    struct Case {
        const char* line;
        const char* icon_file; // empty: the answer's icon is empty
        const char* error;     // set: the command is refused with it
    };
    const Case cases[] = {
        {"icon com.apple.MobileSMS", "Icon-Small@2x.png", nullptr},
        {"icon com.apple.weather", "Icon-Small@2x.png", nullptr},
        {"icon com.apple.Maps", "Icon-Small.png", nullptr}, // the only file it has
        {"icon com.example.plaintext", "", nullptr},
        {"icon com.example.none", nullptr,
         "no installed app has the bundle identifier 'com.example.none' (see 'apps')"},
        {"icon", nullptr, "icon takes an app identifier"},
        {"icon com.apple.MobileSMS com.apple.weather", nullptr, "icon takes an app identifier"},
        {"icon \xff\xfe", nullptr, "icon takes an app identifier"},
    };
    for (const auto& c : cases) {
        auto answer = host_->execute(c.line);
        if (c.error) {
            EXPECT_EQ(answer["ok"], false) << c.line;
            EXPECT_EQ(answer.value("error", ""), c.error) << c.line;
            continue;
        }
        ASSERT_EQ(answer["ok"], true) << c.line << ": " << answer;
        const std::string app = std::string(c.line).substr(5);
        EXPECT_EQ(answer["app"], app);
        const std::string icon = answer["icon"];
        if (*c.icon_file == '\0') {
            EXPECT_EQ(icon, "") << c.line;
            continue;
        }
        const std::string png = from_base64(icon);
        EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << c.line;
        EXPECT_EQ(png, file_bytes(folders[app] / c.icon_file)) << c.line;
    }
    EXPECT_NE(host_->execute("icon com.apple.MobileSMS")["icon"],
              host_->execute("icon com.apple.weather")["icon"]);
}

// The clock in the status bar: the label in the middle of its top line.
std::string status_clock(const json& dump) {
    std::string text;
    std::function<void(const json&)> walk = [&](const json& node) {
        const auto& frame = node["frame"];
        if (node["class"] == "UILabel" && frame[0] == kScreenWidth / 3 && frame[1] == 0.0)
            text = node.value("text", "");
        for (const auto& sub : node["subviews"])
            walk(sub);
    };
    walk(dump["screen"]);
    return text;
}

TEST(HomeScreenHost, TheStatusBarShowsTheRunLoopsTimeOfDayAsOfEachFrame) {
    zimtone::testing::TempDevice device;
    std::string init = (zimtone::testing::build_bin_dir() / "zimtone").string() + " --root " +
                       device.root().string() + " device init > /dev/null";
    ASSERT_EQ(std::system(init.c_str()), 0);
    zimtone::testing::HostUnderTest host("springboard", device.root(), true);
    const std::string shot = (device.root() / "frame.png").string();
    json first = host.command("frame " + shot + " 0");
    ASSERT_EQ(first["changed"], true) << first;
    const std::string before = status_clock(host.command("dump"));
    EXPECT_EQ(before, "9:41 AM") << "the virtual clock starts at the device's fixed morning";

    host.command("advance 30");
    json same_minute = host.command("frame " + shot + " 0");
    EXPECT_EQ(status_clock(host.command("dump")), before);
    host.command("advance 3600");
    json hour_later =
        host.command("frame " + shot + " " + std::to_string(same_minute["generation"].get<uint64_t>()));
    EXPECT_EQ(hour_later["changed"], true) << hour_later;
    EXPECT_EQ(status_clock(host.command("dump")), "10:41 AM");
    EXPECT_EQ(host.finish(), 0);
}

// Where each icon is on the screen, by app: its frame's centre through every parent above it.
std::map<std::string, std::pair<double, double>> icon_centres(const json& dump) {
    std::map<std::string, std::pair<double, double>> centres;
    std::function<void(const json&, double, double)> walk = [&](const json& node, double x, double y) {
        const auto& f = node["frame"];
        x += f[0].get<double>();
        y += f[1].get<double>();
        if (node.contains("app"))
            centres[node["app"]] = {x + f[2].get<double>() / 2, y + f[3].get<double>() / 2};
        for (const auto& sub : node["subviews"])
            walk(sub, x, y);
    };
    walk(dump["screen"], 0, 0);
    return centres;
}

TEST(HomeScreenHost, ATouchOnAnIconBringsDownABannerFromItsApp) {
    zimtone::testing::TempDevice device;
    std::string init = (zimtone::testing::build_bin_dir() / "zimtone").string() + " --root " +
                       device.root().string() + " device init > /dev/null";
    ASSERT_EQ(std::system(init.c_str()), 0);
    zimtone::testing::HostUnderTest host("springboard", device.root(), true);
    auto centres = icon_centres(host.command("dump"));
    ASSERT_TRUE(centres.contains("com.apple.weather"));
    ASSERT_TRUE(centres.contains("com.apple.MobileSMS")) << "Messages is in the dock";
    ASSERT_EQ(host.command("composer Lunch \"At noon\"")["ok"], true);
    struct Case {
        const char* app;
        const char* title;
        const char* message;
    };
    const Case cases[] = {{"com.apple.weather", "Lunch", "At noon"},
                          {"com.apple.MobileSMS", "Lunch", "At noon"}};
    for (const auto& c : cases) {
        auto [x, y] = centres[c.app];
        std::string at = std::to_string(x) + " " + std::to_string(y);
        ASSERT_EQ(host.command("touch down " + at)["ok"], true) << c.app;
        ASSERT_EQ(host.command("touch up " + at)["ok"], true) << c.app;
        json banner;
        std::function<void(const json&)> find = [&](const json& node) {
            if (node["class"] == "SBBannerContextView")
                banner = node;
            for (const auto& sub : node["subviews"])
                find(sub);
        };
        find(host.command("dump")["screen"]);
        ASSERT_TRUE(banner.is_object()) << c.app << ": no banner came down";
        EXPECT_EQ(banner["bulletin"]["sectionID"], c.app);
        EXPECT_EQ(banner["bulletin"]["title"], c.title);
        EXPECT_EQ(banner["bulletin"]["message"], c.message);
        ASSERT_EQ(host.command("dismiss")["ok"], true);
    }
    EXPECT_EQ(host.finish(), 0);
}

} // namespace
