#include "sim/cli/Demo.h"

#include <fstream>
#include <iostream>
#include <regex>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "sim/cli/DeviceSetup.h"
#include "sim/launcher/HostClient.h"
#include "sim/launcher/JsonValues.h"

namespace zimtone::cli {

namespace fs = std::filesystem;
using nlohmann::json;

const std::vector<DemoScenario>& demo_scenarios() {
    static const std::vector<DemoScenario> scenarios = {
        { "Banner, dark icon, defaults", "springboard", json::object(),
          { "bulletin com.example.zebra \"Zebra\" \"Your stripes are ready to collect\"", "advance 0.3",
            "screenshot {shot:banner-dark-icon}" } },
        { "Banner, light icon, defaults", "springboard", json::object(),
          { "bulletin com.apple.mobilenotes \"Notes\" \"Shopping list: milk, eggs, bread\"", "advance 0.3",
            "screenshot {shot:banner-light-icon}" } },
        { "Banner, per-app colour FF8800 for Messages", "springboard",
          { { "SpecificAppColor", true }, { "Specific_App_Color", json::array({ { { "com.apple.MobileSMS", "FF8800" } } }) } },
          { "bulletin com.apple.MobileSMS \"Anna\" \"Are we still on for lunch?\"", "advance 0.3",
            "screenshot {shot:banner-per-app-colour}" } },
        { "Banner, BannerAlpha 0.5", "springboard", { { "BannerAlpha", 0.5 } },
          { "bulletin com.apple.weather \"Weather\" \"Rain expected at 4 pm\"", "advance 0.3",
            "screenshot {shot:banner-alpha-half}" } },
        { "Banner, saturation off (AllowSaturation NO)", "springboard", { { "AllowSaturation", false } },
          { "bulletin com.apple.weather \"Weather\" \"Rain expected at 4 pm\"", "advance 0.3",
            "screenshot {shot:banner-saturation-off}" } },
        { "Banner colour cycling, two frames 0.5 s apart", "springboard", { { "BannersUnicornEnabled", true } },
          { "bulletin com.apple.mobilephone \"Phone\" \"Missed call from Ben\"", "advance 0.5",
            "screenshot {shot:banner-cycling-1}", "advance 0.5", "screenshot {shot:banner-cycling-2}" } },
        { "Quick reply and keyboard, defaults", "messages", json::object(),
          { "reply Anna \"Are we still on for lunch?\"", "type \"On my way\"", "screenshot {shot:quick-reply}" } },
        { "Quick reply and keyboard, per-app colour FF8800 for Messages", "messages",
          { { "SpecificAppColor", true }, { "Specific_App_Color", json::array({ { { "com.apple.MobileSMS", "FF8800" } } }) } },
          { "reply Anna \"Are we still on for lunch?\"", "type \"On my way\"",
            "screenshot {shot:quick-reply-per-app-colour}" } },
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
    if (settings.empty()) return true;
    auto object = zimtone::sim::object_from_json(settings);
    return platform::foundation::write_property_list_file(zimtone::settings::kSettingsFile, object);
}

void write_contact_sheet(const fs::path& out, const std::vector<Shot>& shots) {
    std::ofstream html(out / "index.html");
    html << "<!doctype html><meta charset=utf-8><title>Zimtone 2 demo</title>\n"
            "<style>body{font:14px sans-serif;background:#222;color:#eee}figure{display:inline-block;margin:12px;"
            "vertical-align:top}img{width:375px;border:1px solid #555}figcaption{max-width:375px}"
            "code{color:#9cf}</style>\n<h1>Zimtone 2 demo</h1>\n";
    for (auto& shot : shots)
        html << "<figure><img src=\"" << shot.file << "\" alt=\"" << shot.scenario << "\"><figcaption>"
             << shot.scenario << "<br><code>" << shot.settings << "</code></figcaption></figure>\n";
}

} // namespace

bool run_demo(const fs::path& out, uint64_t seed) {
    std::error_code ec;
    fs::create_directories(out, ec);
    fs::path root = fs::absolute(out / "device");
    platform::foundation::set_device_root(root);
    std::string error;
    if (!set_up_device("zimtone", &error)) {
        std::cerr << "zimtone demo: " << error << "\n";
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
        zimtone::sim::HostClient host({ zimtone::sim::executable_dir() / "zimtone-host", scenario.role, root, true,
                                        { { "ZIMTONE_RANDOM_SEED", std::to_string(seed) } } });
        if (!host.ready().is_object()) {
            std::cerr << "zimtone demo: the " << scenario.role << " host did not start\n";
            return false;
        }
        for (const auto& step : scenario.steps) {
            std::smatch m;
            std::string line = step;
            if (std::regex_search(step, m, shot_pattern)) {
                std::string file = m[1].str() + ".png";
                line = m.prefix().str() + (fs::absolute(out) / file).string() + m.suffix().str();
                shots.push_back({ file, scenario.title, scenario.settings.empty() ? "defaults" : scenario.settings.dump() });
            }
            auto reply = host.command(line);
            if (reply.is_null() || reply.value("ok", false) != true) {
                std::cerr << "zimtone demo: '" << step << "' failed: " << (reply.is_null() ? "no answer" : reply.dump())
                          << "\n";
                return false;
            }
        }
        host.command("quit");
    }
    write_contact_sheet(out, shots);
    std::cout << fs::absolute(out).string() << std::endl;
    return true;
}

} // namespace zimtone::cli
