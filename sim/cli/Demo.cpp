#include "sim/cli/Demo.h"

#include <fstream>
#include <iostream>
#include <regex>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "sim/cli/DeviceSetup.h"
#include "sim/cli/HtmlText.h"
#include "sim/launcher/HostClient.h"
#include "sim/launcher/JsonValues.h"

namespace zimtone::cli {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

using Steps = std::vector<std::string>;
constexpr auto kHome = sim::HostRoleName::springboard;
constexpr auto kMessages = sim::HostRoleName::messages;

const json kMessagesOrange = {{"SpecificAppColor", true},
                              {"Specific_App_Color", json::array({{{"com.apple.MobileSMS", "FF8800"}}})}};

Steps operator+(Steps a, const Steps& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Steps banner(const std::string& app, const std::string& title, const std::string& message,
             const std::string& shot) {
    // Pulled down, as a person would, so that a banner with actions shows them.
    return {"bulletin " + app + " \"" + title + "\" \"" + message + "\"", "touch down 187 40",
            "touch up 187 100", "advance 0.3", "screenshot {shot:" + shot + "}"};
}

// Two pictures half a second apart: one cycling tick between them.
Steps frame_pair(const std::string& shot) {
    return {"advance 0.5", "screenshot {shot:" + shot + "-1}", "advance 0.5",
            "screenshot {shot:" + shot + "-2}"};
}

// Bulletins delivered while unlocked come down as banners; they all time out before the list is
// pictured.
Steps notification_center(Steps deliveries) {
    return deliveries + Steps{"advance 120", "nc open", "advance 0.3"};
}

// Four apps, Messages newest and on top.
Steps several_apps() {
    return notification_center(
        {"bulletin com.apple.weather \"Weather\" \"Rain expected at 4 pm\"",
         "bulletin com.example.zebra \"Zebra\" \"Your stripes are ready to collect\"",
         "bulletin com.example.zebra \"Zebra\" \"A new pattern is waiting\"",
         "bulletin com.apple.mobilenotes \"Notes\" \"Shopping list: milk, eggs, bread\"",
         "bulletin com.apple.MobileSMS \"Anna\" \"See you at noon\"",
         "bulletin com.apple.MobileSMS \"Ben\" \"Running late\"",
         "bulletin com.apple.MobileSMS \"Anna\" \"Are we still on for lunch?\""});
}

// Ten rows of one app, so the row fade runs from 0.8 down past 0.
Steps row_fade() {
    Steps steps = {"bulletin com.apple.weather \"Weather\" \"Rain expected at 4 pm\""};
    for (int i = 10; i >= 1; --i)
        steps.push_back("bulletin com.apple.MobileSMS \"Anna\" \"Message " + std::to_string(i) + " of 10\"");
    return notification_center(steps);
}

Steps lock_screen() {
    return {"lock", "bulletin com.apple.mobilephone \"Phone\" \"Missed call from Ben\"",
            "bulletin com.example.zebra \"Zebra\" \"Your stripes are ready to collect\"",
            "bulletin com.apple.MobileSMS \"Anna\" \"Are we still on for lunch?\"", "advance 0.3"};
}

Steps quick_reply() {
    return {"reply Anna \"Are we still on for lunch?\"", "type \"On my way\""};
}

} // namespace

const std::vector<DemoScenario>& demo_scenarios() {
    static const std::vector<DemoScenario> scenarios = {
        {"Home screen, nothing delivered", kHome, json::object(),
         Steps{"advance 0.3", "screenshot {shot:home-screen}"}},
        {"Banner, dark icon, defaults", kHome, json::object(),
         banner("com.example.zebra", "Zebra", "Your stripes are ready to collect", "banner-dark-icon")},
        {"Banner, light icon, defaults", kHome, json::object(),
         banner("com.apple.mobilenotes", "Notes", "Shopping list: milk, eggs, bread", "banner-light-icon")},
        {"Banner, per-app colour FF8800 for Messages", kHome, kMessagesOrange,
         banner("com.apple.MobileSMS", "Anna", "Are we still on for lunch?", "banner-per-app-colour")},
        {"Banner, light icon, BannerAlpha 0.5",
         kHome,
         {{"BannerAlpha", 0.5}},
         banner("com.apple.mobilenotes", "Notes", "Shopping list: milk, eggs, bread", "banner-alpha-half")},
        {"Banner, light icon, saturation off (AllowSaturation NO)",
         kHome,
         {{"AllowSaturation", false}},
         banner("com.apple.mobilenotes", "Notes", "Shopping list: milk, eggs, bread",
                "banner-saturation-off")},
        {"Banner colour cycling, two frames 0.5 s apart",
         kHome,
         {{"BannersUnicornEnabled", true}},
         Steps{"bulletin com.apple.mobilephone \"Phone\" \"Missed call from Ben\""} +
             frame_pair("banner-cycling")},
        {"Notification Center, several apps, defaults", kHome, json::object(),
         several_apps() + Steps{"screenshot {shot:nc}"}},
        {"Notification Center, ten rows of one app (row fade to 0 and below), scrolled to the end, defaults",
         kHome, json::object(), row_fade() + Steps{"nc scroll 400", "screenshot {shot:nc-row-fade}"}},
        {"Notification Center, per-app colour FF8800 for Messages", kHome, kMessagesOrange,
         several_apps() + Steps{"screenshot {shot:nc-per-app-colour}"}},
        {"Notification Center, alpha 0.5 for cells and headers, row fade off",
         kHome,
         {{"NotificationLayerEnabled", false},
          {"NotificationCenterAlpha", 0.5},
          {"NotificationCenterHeaderAlpha", 0.5}},
         several_apps() + Steps{"screenshot {shot:nc-alpha-half}"}},
        {"Notification Center, saturation off (AllowSaturationNotification NO)",
         kHome,
         {{"AllowSaturationNotification", false}},
         several_apps() + Steps{"screenshot {shot:nc-saturation-off}"}},
        {"Notification Center colour cycling, two frames 0.5 s apart",
         kHome,
         {{"NotificationUnicornEnabled", true}},
         several_apps() + frame_pair("nc-cycling")},
        {"Lock screen, defaults", kHome, json::object(),
         lock_screen() + Steps{"screenshot {shot:lock-screen}"}},
        {"Lock screen, gradient effect (tavoEffect YES)",
         kHome,
         {{"tavoEffect", true}},
         lock_screen() + Steps{"screenshot {shot:lock-screen-gradient}"}},
        {"Lock screen, per-app colour FF8800 for Messages", kHome, kMessagesOrange,
         lock_screen() + Steps{"screenshot {shot:lock-screen-per-app-colour}"}},
        {"Lock screen, LockscreenAlpha 0.5",
         kHome,
         {{"LockscreenAlpha", 0.5}},
         lock_screen() + Steps{"screenshot {shot:lock-screen-alpha-half}"}},
        {"Lock screen, saturation off (AllowSaturationLock NO)",
         kHome,
         {{"AllowSaturationLock", false}},
         lock_screen() + Steps{"screenshot {shot:lock-screen-saturation-off}"}},
        {"Lock screen colour cycling, two frames 0.5 s apart",
         kHome,
         {{"LockscreenUnicornEnabled", true}},
         lock_screen() + frame_pair("lock-screen-cycling")},
        {"Quick reply and keyboard, defaults", kMessages, json::object(),
         quick_reply() + Steps{"screenshot {shot:quick-reply}"}},
        {"Quick reply and keyboard, per-app colour FF8800 for Messages", kMessages, kMessagesOrange,
         quick_reply() + Steps{"screenshot {shot:quick-reply-per-app-colour}"}},
        {"Quick reply and keyboard, saturation off (AllowSaturation NO)",
         kMessages,
         {{"AllowSaturation", false}},
         quick_reply() + Steps{"screenshot {shot:quick-reply-saturation-off}"}},
        {"Keyboard colour cycling, two frames 0.5 s apart",
         kMessages,
         {{"BannersUnicornEnabled", true}},
         quick_reply() + frame_pair("keyboard-cycling")},
    };
    return scenarios;
}

namespace {

struct Shot {
    std::string file;
    std::string scenario;
    std::string settings;
};

bool write_settings(const json& settings) {
    fs::remove(platform::foundation::resolve_device_path(zimtone::settings::kSettingsFile));
    if (settings.empty())
        return true;
    auto object = zimtone::sim::object_from_json(settings);
    return platform::foundation::write_property_list_file(zimtone::settings::kSettingsFile, object);
}

bool write_contact_sheet(const fs::path& out, const std::vector<Shot>& shots) {
    std::ofstream html(out / "index.html");
    html << "<!doctype html><meta charset=utf-8><title>Zimtone 2 demo</title>\n"
            "<style>body{font:14px "
            "sans-serif;background:#222;color:#eee}figure{display:inline-block;margin:12px;"
            "vertical-align:top}img{width:375px;border:1px solid #555}figcaption{max-width:375px}"
            "code{color:#9cf}</style>\n<h1>Zimtone 2 demo</h1>\n";
    for (auto& shot : shots)
        html << "<figure><img src=\"" << escape_html(shot.file) << "\" alt=\"" << escape_html(shot.scenario)
             << "\"><figcaption>" << escape_html(shot.scenario) << "<br><code>" << escape_html(shot.settings)
             << "</code></figcaption></figure>\n";
    html.close();
    return !html.fail();
}

} // namespace

bool run_demo(const fs::path& out, uint64_t seed) {
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) {
        std::cerr << "zimtone demo: cannot create the output folder " << out.string() << ": " << ec.message()
                  << "\n";
        return false;
    }
    fs::path root = fs::absolute(out / "device");
    platform::foundation::set_device_root(root);
    if (auto set_up = set_up_device("zimtone"); !set_up) {
        std::cerr << "zimtone demo: " << set_up.error() << "\n";
        return false;
    }
    const auto& scenarios = demo_scenarios();
    std::vector<Shot> shots;
    std::regex shot_pattern(R"(\{shot:([a-z0-9-]+)\})");
    for (size_t i = 0; i < scenarios.size(); ++i) {
        const auto& scenario = scenarios[i];
        std::cout << "[" << (i + 1) << "/" << scenarios.size() << "] " << scenario.title << std::endl;
        if (!write_settings(scenario.settings)) {
            std::cerr << "zimtone demo: cannot write the settings file under " << root << "\n";
            return false;
        }
        // The pictures go beside the device, so the host is told it may write there.
        zimtone::sim::HostClient host({zimtone::sim::executable_dir() / "zimtone-host",
                                       sim::role_name(scenario.role),
                                       root,
                                       true,
                                       {{"ZIMTONE_RANDOM_SEED", std::to_string(seed)}}},
                                      {{"--output-folder", fs::absolute(out).string()}});
        if (!host.ready().is_object()) {
            std::cerr << "zimtone demo: the " << sim::role_name(scenario.role) << " host did not start\n";
            return false;
        }
        for (const auto& step : scenario.steps) {
            std::smatch m;
            std::string line = step;
            if (std::regex_search(step, m, shot_pattern)) {
                std::string file = m[1].str() + ".png";
                line = m.prefix().str() + (fs::absolute(out) / file).string() + m.suffix().str();
                shots.push_back({file, scenario.title,
                                 scenario.settings.empty() ? "defaults" : scenario.settings.dump()});
            }
            auto reply = host.command(line);
            if (reply.is_null() || reply.value("ok", false) != true) {
                std::cerr << "zimtone demo: '" << step
                          << "' failed: " << (reply.is_null() ? "no answer" : reply.dump()) << "\n";
                return false;
            }
        }
        host.command("quit");
    }
    if (!write_contact_sheet(out, shots)) {
        std::cerr << "zimtone demo: cannot write " << (out / "index.html").string() << "\n";
        return false;
    }
    std::cout << fs::absolute(out).string() << std::endl;
    return true;
}

} // namespace zimtone::cli
