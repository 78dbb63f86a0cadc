// The Settings app ("com.apple.Preferences"): loads the preference bundle from the device and
// serves its pages on a loopback web page.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/foundation/DevicePaths.h"
#include "platform/preferences/PreferencesClasses.h"
#include "platform/preferences/SLComposeViewController.h"
#include "platform/uikit/UIApplication.h"
#include "sim/hosts/SettingsHostServer.h"
#include "sim/hosts/SurfaceHosts.h"

namespace zimtone::sim {

namespace {
int g_requested_port = 0;

// The page's files: installed beside the executables, under share/.
std::filesystem::path web_folder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return exe.parent_path().parent_path() / "share" / "zimtone" / "web" / "settings";
}
} // namespace

void set_settings_port(int port) {
    g_requested_port = port;
}

void set_up_settings_host(HostProcess& host) {
    platform::preferences::register_preferences_classes();
    // The device has a Twitter account, so the share sheet is available; `compose off` removes it.
    platform::preferences::SLComposeViewController::available_services().insert(
        platform::preferences::SLServiceTypeTwitter);
    // Both live as long as the process; the server thread uses them until exit.
    auto* pane = new SettingsHostPane();
    auto* server = new SettingsHostServer(*pane, web_folder());
    if (auto loaded = pane->load(); !loaded)
        std::fprintf(stderr, "settings: %s\n", loaded.error().c_str());
    if (const char* env = std::getenv("ZIMTONE_SETTINGS_PORT"); env && !g_requested_port)
        g_requested_port = std::atoi(env);
    // Set by `zimtone serve`: the port of its device page, which shows this page in a frame.
    if (const char* env = std::getenv("ZIMTONE_SETTINGS_FRAMED_BY"))
        server->allow_framing_by(std::atoi(env));
    int port = server->start(g_requested_port);
    if (port < 0)
        std::fprintf(stderr, "settings: cannot listen on 127.0.0.1:%d\n", g_requested_port);
    else
        std::fprintf(stderr, "settings: serving http://127.0.0.1:%d/\n", port);

    host.add_command("port", "port  (the web page's port on 127.0.0.1)", [server](auto&) {
        if (server->port() < 0)
            return CommandResult::failure("the web page is not being served");
        return CommandResult::success(
            {{"port", server->port()}, {"url", "http://127.0.0.1:" + std::to_string(server->port()) + "/"}});
    });
    host.add_command("pane", "pane  (the page on screen as JSON)", [pane](auto&) {
        if (!pane->loaded())
            return CommandResult::failure("the pane is not loaded");
        return CommandResult::success(pane->page());
    });
    host.add_command("scheme", "scheme add|remove SCHEME  (an installed app for that URL scheme)",
                     [](auto& args) {
                         auto& schemes = platform::uikit::UIApplication::shared().installed_url_schemes;
                         if (args.size() != 2 || (args[0] != "add" && args[0] != "remove"))
                             return CommandResult::failure("usage: scheme add|remove SCHEME");
                         if (args[0] == "add")
                             schemes.insert(args[1]);
                         else
                             schemes.erase(args[1]);
                         return CommandResult::success({{"schemes", schemes}});
                     });
    host.add_command(
        "compose", "compose on|off  (whether a Twitter share sheet is available)", [](auto& args) {
            auto& services = platform::preferences::SLComposeViewController::available_services();
            if (args.size() != 1 || (args[0] != "on" && args[0] != "off"))
                return CommandResult::failure("usage: compose on|off");
            if (args[0] == "on")
                services.insert(platform::preferences::SLServiceTypeTwitter);
            else
                services.clear();
            return CommandResult::success({{"available", args[0] == "on"}});
        });
}

} // namespace zimtone::sim
