// The device as one product, across its real processes: what the Settings app writes reaches the
// home screen and what it draws, the test notifications appear, a respring starts the tweak again
// from the file, and a host killed mid-write leaves the file whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "tests/serve/ServeProcess.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace zimtone::testing::serve;

// The Settings app's own page, driven as its browser drives it: rows by label or key, actions as JSON.
class SettingsApp {
  public:
    explicit SettingsApp(const ServeProcess& serve) {
        auto status = get_json(serve, "/api/status");
        std::string url =
            status.value("settings_url", json()).is_string() ? status["settings_url"].get<std::string>() : "";
        port_ = url.empty() ? 0 : std::atoi(url.c_str() + std::string("http://127.0.0.1:").size());
    }
    int port() const { return port_; }
    // The page on screen; an empty object once the app is gone.
    json page() const {
        auto res = client().Get("/api/page");
        json page = res ? json::parse(res->body, nullptr, false) : json();
        return page.is_object() ? page : json::object();
    }
    // The pane's answer to one action: the new page, or {"error":...}.
    json act(const json& action) const {
        httplib::Headers origin{{"Origin", "http://127.0.0.1:" + std::to_string(port_)}};
        auto res = client().Post("/api/action", origin, action.dump(), "application/json");
        json page = res ? json::parse(res->body, nullptr, false) : json();
        return page.is_object() ? page : json{{"error", "no answer"}};
    }
    json tap(const std::string& label) const {
        return act({{"type", "tap"}, {"row", row_where("label", label)}});
    }
    json set(const std::string& key, const json& value) const {
        return act({{"type", "set"}, {"row", row_where("key", key)}, {"value", value}});
    }
    json back() const { return act({{"type", "back"}}); }

  private:
    httplib::Client client() const {
        httplib::Client c("127.0.0.1", port_);
        c.set_read_timeout(20, 0);
        return c;
    }
    int row_where(const char* field, const std::string& value) const {
        json rows = page().value("rows", json::array());
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].is_object() && rows[i].value(field, json()) == value)
                return static_cast<int>(i);
        return -1;
    }
    int port_{0};
};

void find_views(const json& view, const std::function<bool(const json&)>& wanted, std::vector<json>& found) {
    if (!view.is_object())
        return;
    if (wanted(view))
        found.push_back(view);
    for (const auto& sub : view.value("subviews", json::array()))
        find_views(sub, wanted, found);
}

std::vector<json> home_views(const fs::path& root, const std::function<bool(const json&)>& wanted) {
    std::vector<json> found;
    find_views(ask_host(root, "springboard", "dump").value("screen", json()), wanted, found);
    return found;
}

// Polls the home screen's view tree until some view passes; that view, or null at the bound.
json wait_for_home_view(const fs::path& root, const std::function<bool(const json&)>& wanted) {
    auto deadline = std::chrono::steady_clock::now() + kChangeBound;
    while (std::chrono::steady_clock::now() < deadline) {
        auto found = home_views(root, wanted);
        if (!found.empty())
            return found.front();
        std::this_thread::sleep_for(50ms);
    }
    return json();
}

std::function<bool(const json&)> of_class(const std::string& name) {
    return [name](const json& v) { return v.value("class", "") == name; };
}

std::function<bool(const json&)> with_text(const std::string& text) {
    return [text](const json& v) { return v.value("text", json()) == text; };
}

double file_number(const char* key) {
    auto settings = platform::foundation::read_dictionary_file(zimtone::settings::kSettingsFile);
    if (!settings)
        return -1;
    auto* number = dynamic_cast<platform::foundation::NSNumber*>(
        settings->objectForKey(platform::foundation::ns(key).get()).get());
    return number ? number->doubleValue() : -1;
}

TEST(ServeEndToEnd, SettingsAppChangeReachesTheHomeScreenAndWhatItDraws) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();
    SettingsApp settings(serve);
    ASSERT_GT(settings.port(), 0) << get_json(serve, "/api/status");

    auto locked = post_action(serve, {{"action", "lock"}});
    ASSERT_TRUE(locked);
    ASSERT_EQ(locked->status, 200) << locked->body;
    auto posted = post_action(serve, {{"action", "test-lockscreen"}});
    ASSERT_TRUE(posted);
    ASSERT_EQ(posted->status, 200) << posted->body;
    json cell = wait_for_home_view(device.root(), of_class("SBLockScreenBulletinCell"));
    ASSERT_TRUE(cell.is_object()) << "the lock-screen test notification never appeared";
    const json opaque = cell["subviews"][0]["background"];
    ASSERT_TRUE(opaque.is_array()) << cell;
    EXPECT_EQ(opaque[3], 1.0);

    ASSERT_FALSE(settings.tap("Lock Screen").contains("error"));
    json page = settings.set("LockscreenAlpha", 0.5);
    ASSERT_FALSE(page.contains("error")) << page;
    EXPECT_DOUBLE_EQ(file_number("LockscreenAlpha"), 0.5);
    EXPECT_TRUE(page["respring"].is_null()) << "a live setting asks for no respring";
    // The reload reached the running tweak without a restart ...
    auto deadline = std::chrono::steady_clock::now() + kChangeBound;
    json tweak;
    while (std::chrono::steady_clock::now() < deadline) {
        tweak = ask_host(device.root(), "springboard", "tweak");
        if (tweak["settings"]["LockscreenAlpha"] == 0.5)
            break;
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(tweak["settings"]["LockscreenAlpha"], 0.5) << tweak;

    // ... and what it colours next wears it: a new notification reloads the list, so the one
    // that was opaque is coloured again beside it.
    posted = post_action(serve, {{"action", "test-lockscreen"}});
    ASSERT_TRUE(posted);
    ASSERT_EQ(posted->status, 200) << posted->body;
    std::vector<json> cells;
    for (auto until = std::chrono::steady_clock::now() + kChangeBound;
         cells.size() < 2 && std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(50ms))
        cells = home_views(device.root(), of_class("SBLockScreenBulletinCell"));
    ASSERT_EQ(cells.size(), 2u);
    std::vector<double> alphas;
    for (const auto& c : cells)
        alphas.push_back(c["subviews"][0]["background"][3].get<double>());
    std::sort(alphas.begin(), alphas.end());
    EXPECT_EQ(alphas, (std::vector<double>{0.5, 0.5}));
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

TEST(ServeEndToEnd, BothTestNotificationsAppearOnTheHomeScreen) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();

    auto banner = post_action(serve, {{"action", "test-banner"}});
    ASSERT_TRUE(banner);
    ASSERT_EQ(banner->status, 200) << banner->body;
    json shown = wait_for_home_view(device.root(), of_class("SBDefaultBannerView"));
    ASSERT_TRUE(shown.is_object()) << "the test banner never came down";
    std::vector<json> texts;
    find_views(shown, of_class("SBDefaultBannerTextView"), texts);
    ASSERT_EQ(texts.size(), 1u) << shown;
    EXPECT_EQ(texts[0]["strings"]["primary"]["text"], "Zimtone 2");
    EXPECT_EQ(texts[0]["strings"]["secondary"]["text"], "Created by Mossglint");

    auto lock_screen = post_action(serve, {{"action", "test-lockscreen"}});
    ASSERT_TRUE(lock_screen);
    ASSERT_EQ(lock_screen->status, 200) << lock_screen->body;
    json cell = wait_for_home_view(device.root(), of_class("SBLockScreenBulletinCell"));
    ASSERT_TRUE(cell.is_object()) << "the lock-screen test notification never appeared";
    std::vector<json> credit;
    find_views(cell, with_text("Created by Mossglint"), credit);
    EXPECT_FALSE(credit.empty()) << cell;
    EXPECT_EQ(home_views(device.root(), of_class("SBLockScreenView")).size(), 1u)
        << "the device locked for it";
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

// The master switch decides installation only when the process starts: turned off, the running
// tweak keeps its banner hooks, the Settings app offers a respring, and after it they are gone
// and the restarted tweak holds the file's other values.
TEST(ServeEndToEnd, MasterSwitchOffNeedsTheRespringTheSettingsAppOffers) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();
    SettingsApp settings(serve);
    ASSERT_GT(settings.port(), 0);

    json before = ask_host(device.root(), "springboard", "tweak");
    ASSERT_TRUE(before.value("ok", false)) << before;
    EXPECT_EQ(before["groups"]["Banner"], true);

    ASSERT_FALSE(settings.tap("Banners").contains("error"));
    ASSERT_FALSE(settings.set("BannerAlpha", 0.25).contains("error"));
    json off = settings.set("BannersEnabled", false);
    ASSERT_FALSE(off.contains("error")) << off;
    json root_page = settings.back();
    EXPECT_EQ(root_page["respring"], "Respring") << root_page;

    json running = ask_host(device.root(), "springboard", "tweak");
    EXPECT_EQ(running["groups"]["Banner"], true) << "installation changed without a restart";
    EXPECT_DOUBLE_EQ(running["settings"]["BannerAlpha"].get<double>(), 0.25)
        << "a live setting waits for nothing";

    ASSERT_FALSE(settings.act({{"type", "respring"}}).contains("error"));
    json home = wait_for_host(serve, "springboard",
                              [](const json& h) { return h["restarts"] == 1 && h["state"] == "up"; });
    ASSERT_EQ(home["state"], "up") << home;

    json after = ask_host(device.root(), "springboard", "tweak");
    ASSERT_TRUE(after.value("ok", false)) << after;
    EXPECT_EQ(after["groups"]["Banner"], false);
    EXPECT_DOUBLE_EQ(after["settings"]["BannerAlpha"].get<double>(), 0.25);
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

// The Settings app killed while it writes, again and again: the file on disk is always one whole
// write, and the launcher says what happened to the process.
TEST(ServeEndToEnd, SettingsAppKilledMidWriteLeavesTheFileWholeAndIsReported) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();
    SettingsApp settings(serve);
    ASSERT_GT(settings.port(), 0);
    ASSERT_FALSE(settings.tap("Banners").contains("error"));
    const double written[] = {0.2, 0.4, 0.6, 0.8};
    ASSERT_FALSE(settings.set("BannerAlpha", written[0]).contains("error"));
    pid_t settings_pid = host_status(serve, "settings")["pid"];

    std::atomic<int> writes{0};
    std::thread writer([&] {
        for (int i = 1; i < 10000; ++i) {
            if (settings.set("BannerAlpha", written[i % 4]).contains("error"))
                return; // the host is gone
            ++writes;
        }
    });
    while (writes < 5)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(kill(settings_pid, SIGKILL), 0);
    writer.join();

    double kept = file_number("BannerAlpha");
    EXPECT_TRUE(std::find(std::begin(written), std::end(written), kept) != std::end(written))
        << "the settings file holds " << kept;
    json host = wait_for_host(serve, "settings", [](const json& h) { return h["state"] == "exited"; });
    EXPECT_EQ(host["state"], "exited");
    EXPECT_NE(host["detail"].get<std::string>().find("was killed by signal 9"), std::string::npos) << host;
    EXPECT_NE(serve.errors().find("the settings host (pid " + std::to_string(settings_pid) +
                                  ") was killed by signal 9"),
              std::string::npos)
        << serve.errors();
    // The home screen still reads the file it left: the tweak's next start gets a whole dictionary.
    EXPECT_TRUE(ask_host(device.root(), "springboard", "tweak").value("ok", false));
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

} // namespace
