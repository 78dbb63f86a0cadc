// `zimtone`: the one command of the simulated device and its tools.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>

#include <nlohmann/json.hpp>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/NotifyTransport.h"
#include "platform/foundation/RunLoop.h"
#include "sim/cli/Audit.h"
#include "sim/cli/ColourTools.h"
#include "sim/cli/Demo.h"
#include "sim/cli/DeviceRootCheck.h"
#include "sim/cli/DeviceSetup.h"
#include "sim/cli/RegularFile.h"
#include "sim/cli/Serve.h"

namespace {

using namespace platform::foundation;

int usage_error(const std::string& message) {
    std::cerr << "zimtone: " << message << "\nRun 'zimtone --help' for usage.\n";
    return 2;
}

int failure(const std::string& message) {
    std::cerr << "zimtone: " << message << "\n";
    return 1;
}

// Colour components and saturations are fractions, as the colour engine takes them; anything
// else (255 for full red, a negative number, NaN) would print a colour nobody asked for.
const CLI::Validator kFraction(
    [](std::string& text) -> std::string {
        double value = 0;
        if (CLI::detail::lexical_cast(text, value) && value >= 0 && value <= 1)
            return {};
        return text + " is not a number from 0 to 1";
    },
    "0 to 1", "fraction");

void add_components(CLI::App* command, std::initializer_list<std::pair<const char*, double*>> components) {
    for (auto [name, value] : components)
        command->add_option(name, *value, std::string(name) + ", 0 to 1")->required()->check(kFraction);
}

// CLI11 reports a mistyped command as a missing one; the word it did not know is named instead.
std::optional<std::string> unknown_command(const CLI::App& app) {
    const CLI::App* at = &app;
    std::string path;
    while (!at->get_subcommands().empty()) {
        at = at->get_subcommands().front();
        path += at->get_name() + " ";
    }
    if (at->get_require_subcommand_min() == 0)
        return std::nullopt;
    for (const std::string& word : app.remaining(true))
        if (!word.starts_with("-"))
            return path + word;
    return std::nullopt;
}

// A word as JSON quotes it, clipped, so that control bytes and invalid UTF-8 print safely.
std::string quoted(const std::string& word) {
    constexpr size_t kShown = 40;
    nlohmann::json text = word.size() > kShown ? word.substr(0, kShown) + "..." : word;
    return text.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

// A command's help lists only its own options; --root, taken from the main command, is named
// there too.
void mention_root_option(CLI::App& command) {
    for (CLI::App* sub : command.get_subcommands([](CLI::App*) { return true; })) {
        sub->footer("Every command takes --root DIR, the device root, before or after its name.");
        mention_root_option(*sub);
    }
}

void observe_callback(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef) {
    std::cout << name << std::endl;
}

void stop_on_signal(int) {
    RunLoop::main().stop();
}

int post_notification(const std::string& name) {
    if (auto problem = zimtone::cli::device_root_problem())
        return failure(*problem);
    auto received = notify_post(name.c_str());
    if (!received)
        return failure("could not post " + name);
    std::cout << "posted " << name << " to " << *received << (*received == 1 ? " process" : " processes")
              << "\n";
    return 0;
}

int observe_notifications(const std::vector<std::string>& names) {
    if (auto problem = zimtone::cli::device_root_problem())
        return failure(*problem);
    for (auto& name : names)
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                        observe_callback, name.c_str(), nullptr,
                                        CFNotificationSuspensionBehavior(0));
    if (!notify_listening())
        return failure("cannot observe: no notification can reach this process (see above)");
    std::signal(SIGINT, stop_on_signal);
    std::signal(SIGTERM, stop_on_signal);
    RunLoop::main().run();
    notify_shutdown();
    return 0;
}

// A subcommand and what it does once the command line has been read.
struct Command {
    CLI::App* app;
    std::function<int()> run;
};
using Commands = std::vector<Command>;

int names_problem(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (!is_valid_notification_name(name))
            return usage_error("not a notification name (printable ASCII, 1 to 1019 characters): " +
                               quoted(name));
    return 0;
}

void add_device_commands(CLI::App& app, Commands& commands, const char* self) {
    auto* device = app.add_subcommand("device", "Manage the device root");
    device->require_subcommand(1);
    auto* init = device->add_subcommand("init", "Write the embedded default device: sample apps with icons");
    commands.push_back({init, [self] {
                            if (auto set_up = zimtone::cli::set_up_device(self); !set_up)
                                return failure(set_up.error());
                            std::cout << device_root().string() << "\n";
                            return 0;
                        }});
}

void add_colour_commands(CLI::App& app, Commands& commands) {
    auto png = std::make_shared<std::string>();
    auto* colour = app.add_subcommand("colour", "Dominant colour, text colour and hex of a PNG icon");
    colour->add_option("png", *png, "Icon file (name@2x.png and name@3x.png load at scale 2 and 3)")
        ->required();
    commands.push_back({colour, [png] {
                            auto report = zimtone::cli::colour_report(*png);
                            if (!report)
                                return failure(report.error());
                            std::cout << report->dump() << "\n";
                            return 0;
                        }});

    auto* hex = app.add_subcommand("hex", "Six-digit hex colours");
    hex->require_subcommand(1);
    auto hex_text = std::make_shared<std::string>();
    auto* decode = hex->add_subcommand("decode", "Print [r,g,b,a], or null (exit 1) for an invalid string");
    decode->add_option("string", *hex_text, "Six hex digits")->required();
    commands.push_back({decode, [hex_text] {
                            auto result = zimtone::cli::hex_decode(*hex_text);
                            std::cout << result.dump() << "\n";
                            return result.is_null() ? 1 : 0;
                        }});

    struct Components {
        double r{0}, g{0}, b{0}, a{1}, s{1};
    };
    auto c = std::make_shared<Components>();
    auto* encode =
        hex->add_subcommand("encode", "Print the hex string of an opaque colour (1 0 0 is ff0000)");
    add_components(encode, {{"red", &c->r}, {"green", &c->g}, {"blue", &c->b}});
    commands.push_back({encode, [c] {
                            std::cout << zimtone::cli::hex_encode(c->r, c->g, c->b) << "\n";
                            return 0;
                        }});
    auto* saturate = app.add_subcommand("saturate", "Replace the saturation of a colour");
    add_components(
        saturate,
        {{"red", &c->r}, {"green", &c->g}, {"blue", &c->b}, {"alpha", &c->a}, {"saturation", &c->s}});
    commands.push_back({saturate, [c] {
                            std::cout << zimtone::cli::saturate(c->r, c->g, c->b, c->a, c->s).dump() << "\n";
                            return 0;
                        }});
    auto* reverse = app.add_subcommand("reverse", "Automatic text colour on a background: white or black");
    add_components(reverse, {{"red", &c->r}, {"green", &c->g}, {"blue", &c->b}});
    commands.push_back({reverse, [c] {
                            std::cout << zimtone::cli::reverse(c->r, c->g, c->b) << "\n";
                            return 0;
                        }});
}

void add_settings_command(CLI::App& app, Commands& commands) {
    auto file = std::make_shared<std::optional<std::string>>();
    auto* settings =
        app.add_subcommand("settings", "The settings in force after the tweak's loaders read the file");
    settings->add_option("--file", *file, "A settings file (default: the device's)");
    commands.push_back({settings, [file] {
                            auto problem = *file ? zimtone::cli::regular_file_problem(**file)
                                                 : zimtone::cli::device_root_problem();
                            if (problem)
                                return failure(*problem);
                            std::cout << zimtone::cli::settings_after_loading(*file).dump() << "\n";
                            return 0;
                        }});
}

void add_demo_command(CLI::App& app, Commands& commands) {
    struct DemoOptions {
        std::string out{"zimtone-demo"};
        uint64_t seed{1};
    };
    auto options = std::make_shared<DemoOptions>();
    auto* demo = app.add_subcommand("demo", "Render every surface under the defaults and a few presets to "
                                            "PNG files, in ./zimtone-demo unless --out");
    demo->add_option("--out", options->out,
                     "Output folder, made if need be (default: zimtone-demo in the current folder)");
    demo->add_option("--seed", options->seed, "Random seed of the colour cycling (default: 1)");
    commands.push_back(
        {demo, [options] { return zimtone::cli::run_demo(options->out, options->seed) ? 0 : 1; }});
}

void add_notification_commands(CLI::App& app, Commands& commands) {
    auto names = std::make_shared<std::vector<std::string>>();
    auto* post = app.add_subcommand("post", "Post a Darwin notification to every process of the device");
    post->add_option("name", *names, "Notification name: printable ASCII, 1 to 1019 characters")
        ->required()
        ->expected(1);
    commands.push_back({post, [names] {
                            if (int problem = names_problem(*names))
                                return problem;
                            return post_notification(names->front());
                        }});
    auto* observe = app.add_subcommand("observe", "Print every notification of these names as it arrives");
    observe->add_option("names", *names, "Notification names")->required();
    commands.push_back({observe, [names] {
                            if (int problem = names_problem(*names))
                                return problem;
                            return observe_notifications(*names);
                        }});
}

void add_serve_command(CLI::App& app, Commands& commands) {
    struct ServeFlags {
        zimtone::cli::ServeOptions options;
        bool no_browser{false};
    };
    auto flags = std::make_shared<ServeFlags>();
    auto* serve =
        app.add_subcommand("serve", "The live device: home screen, Messages and Settings app on a web page");
    serve->add_option("--port", flags->options.port, "Port on 127.0.0.1 (default: 8375; 0 picks a free one)")
        ->check(CLI::Range(0, 65535));
    serve->add_flag("--no-browser", flags->no_browser, "Print the URL without opening a browser");
    commands.push_back({serve, [flags] {
                            flags->options.open_browser = !flags->no_browser;
                            return zimtone::cli::run_serve(flags->options);
                        }});
}

void add_audit_command(CLI::App& app, Commands& commands) {
    auto options = std::make_shared<zimtone::cli::AuditOptions>();
    auto* audit = app.add_subcommand(
        "audit", "Readability of every text on every surface, as drawn, with proposed per-app colours");
    audit->add_flag("--json", options->json, "Print JSON instead of a table");
    audit->add_option("--html", options->html_file,
                      "Also write an HTML page with each failing text pictured");
    audit->add_option("--pictures", options->pictures,
                      "Keep each surface's frame, with and without its texts, here");
    audit->add_option("icons", options->icons, "Icon files to audit instead of the device's apps");
    commands.push_back({audit, [options] {
                            // Icons named on the command line need no device; the device's apps do.
                            if (options->icons.empty())
                                if (auto problem = zimtone::cli::device_root_problem())
                                    return failure(*problem);
                            return zimtone::cli::run_audit(*options);
                        }});
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Zimtone 2 on Linux: the simulated device that colours notifications by app, and its tools."};
    app.require_subcommand(1);
    // Every command takes --root, before or after its name.
    app.fallthrough();
    std::string root;
    app.add_option("--root", root,
                   "Device root (default: $ZIMTONE_DEVICE_ROOT or ~/.local/share/zimtone/device)");

    Commands commands;
    add_device_commands(app, commands, argv[0]);
    add_colour_commands(app, commands);
    add_settings_command(app, commands);
    add_demo_command(app, commands);
    add_notification_commands(app, commands);
    add_serve_command(app, commands);
    add_audit_command(app, commands);
    mention_root_option(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        if (auto unknown = unknown_command(app))
            return usage_error("unknown command '" + *unknown + "'");
        return usage_error(e.what());
    }
    if (!root.empty())
        set_device_root(root);

    for (const Command& command : commands)
        if (command.app->parsed())
            return command.run();
    return usage_error("unknown command");
}
