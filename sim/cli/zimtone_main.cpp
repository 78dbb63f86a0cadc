// `zimtone`: the one command of the simulated device and its tools.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <iostream>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"
#include "sim/cli/Audit.h"
#include "sim/cli/ColourTools.h"
#include "sim/cli/Demo.h"
#include "sim/cli/DeviceSetup.h"
#include "sim/cli/Serve.h"

namespace {

using namespace platform::foundation;

int usage_error(const std::string& message) {
    std::cerr << "zimtone: " << message << "\nRun 'zimtone --help' for usage.\n";
    return 2;
}

void observe_callback(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef) {
    std::cout << name << std::endl;
}

void stop_on_signal(int) { RunLoop::main().stop(); }

} // namespace

int main(int argc, char** argv) {
    CLI::App app { "Zimtone 2 on Linux: the simulated device that colours notifications by app, and its tools." };
    app.require_subcommand(1);
    std::string root;
    app.add_option("--root", root, "Device root (default: $ZIMTONE_DEVICE_ROOT or ~/.local/share/zimtone/device)");

    auto* device = app.add_subcommand("device", "Manage the device root");
    auto* device_init = device->add_subcommand("init", "Write the embedded default device: sample apps with icons")
                            ->fallthrough();
    device->require_subcommand(1);

    std::string png;
    auto* colour = app.add_subcommand("colour", "Dominant colour, text colour and hex of a PNG icon");
    colour->add_option("png", png, "Icon file (name@2x.png and name@3x.png load at scale 2 and 3)")->required();

    auto* hex = app.add_subcommand("hex", "Six-digit hex colours");
    hex->require_subcommand(1);
    std::string hex_text;
    auto* hex_decode = hex->add_subcommand("decode", "Print [r,g,b,a], or null (exit 1) for an invalid string");
    hex_decode->add_option("string", hex_text, "Six hex digits")->required();
    double r = 0, g = 0, b = 0, a = 1, s = 1;
    auto* hex_encode = hex->add_subcommand("encode", "Print the hex string of an opaque colour");
    hex_encode->add_option("red", r)->required();
    hex_encode->add_option("green", g)->required();
    hex_encode->add_option("blue", b)->required();

    auto* saturate = app.add_subcommand("saturate", "Replace the saturation of a colour");
    for (auto* v : { &r, &g, &b, &a, &s }) saturate->add_option(v == &s ? "saturation" : "component", *v)->required();
    auto* reverse = app.add_subcommand("reverse", "Automatic text colour on a background: white or black");
    for (auto* v : { &r, &g, &b }) reverse->add_option("component", *v)->required();

    std::optional<std::string> settings_file;
    auto* settings = app.add_subcommand("settings", "The settings in force after the tweak's loaders read the file");
    settings->add_option("--file", settings_file, "A settings file (default: the device's)");

    std::string demo_out = "zimtone-demo";
    uint64_t demo_seed = 1;
    auto* demo = app.add_subcommand("demo", "Render every surface under the defaults and a few presets to PNG files");
    demo->add_option("--out", demo_out, "Output folder (default: ./zimtone-demo)");
    demo->add_option("--seed", demo_seed, "Random seed of the colour cycling (default: 1)");

    std::vector<std::string> names;
    auto* post = app.add_subcommand("post", "Post a Darwin notification to every process of the device");
    post->add_option("name", names, "Notification name")->required()->expected(1);
    auto* observe = app.add_subcommand("observe", "Print every notification of these names as it arrives");
    observe->add_option("names", names, "Notification names")->required();

    zimtone::cli::ServeOptions serve_options;
    bool no_browser = false;
    auto* serve = app.add_subcommand("serve", "The live device: home screen, Messages and Settings app on a web page")
                      ->fallthrough();
    serve->add_option("--port", serve_options.port, "Port on 127.0.0.1 (default: 8375; 0 picks a free one)")
        ->check(CLI::Range(0, 65535));
    serve->add_flag("--no-browser", no_browser, "Print the URL without opening a browser");

    zimtone::cli::AuditOptions audit_options;
    auto* audit = app.add_subcommand("audit", "Banner tint and text contrast of every app (or of the given icons)")
                      ->fallthrough();
    audit->add_flag("--json", audit_options.json, "Print JSON instead of a table");
    audit->add_option("--html", audit_options.html_file, "Also write an HTML page with a swatch per app");
    audit->add_option("icons", audit_options.icons, "Icon files to audit instead of the device's apps");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return usage_error(e.what());
    }
    if (!root.empty()) set_device_root(root);

    if (*device_init) {
        std::string error;
        if (!zimtone::cli::set_up_device(argv[0], &error)) {
            std::cerr << "zimtone: " << error << "\n";
            return 1;
        }
        std::cout << device_root().string() << "\n";
        return 0;
    }
    if (*serve) {
        serve_options.open_browser = !no_browser;
        return zimtone::cli::run_serve(serve_options);
    }
    if (*audit) return zimtone::cli::run_audit(audit_options);
    if (*demo) return zimtone::cli::run_demo(demo_out, demo_seed) ? 0 : 1;
    if (*colour) {
        auto report = zimtone::cli::colour_report(png);
        if (!report) {
            std::cerr << "zimtone: cannot read " << png << " as a PNG image\n";
            return 1;
        }
        std::cout << report->dump() << "\n";
        return 0;
    }
    if (*hex_decode) {
        auto result = zimtone::cli::hex_decode(hex_text);
        std::cout << result.dump() << "\n";
        return result.is_null() ? 1 : 0;
    }
    if (*hex_encode) {
        std::cout << zimtone::cli::hex_encode(r, g, b) << "\n";
        return 0;
    }
    if (*saturate) {
        std::cout << zimtone::cli::saturate(r, g, b, a, s).dump() << "\n";
        return 0;
    }
    if (*reverse) {
        std::cout << zimtone::cli::reverse(r, g, b) << "\n";
        return 0;
    }
    if (*settings) {
        std::cout << zimtone::cli::settings_after_loading(settings_file).dump() << "\n";
        return 0;
    }
    if (*post) {
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), names.front().c_str(),
                                             nullptr, nullptr, true);
        return 0;
    }
    if (*observe) {
        for (auto& name : names)
            CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, observe_callback,
                                            name.c_str(), nullptr, CFNotificationSuspensionBehavior(0));
        std::signal(SIGINT, stop_on_signal);
        std::signal(SIGTERM, stop_on_signal);
        RunLoop::main().run();
        notify_shutdown();
        return 0;
    }
    return usage_error("unknown command");
}
