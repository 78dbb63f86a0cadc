#include "sim/hosts/Screen.h"

#include <chrono>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/render/ViewRenderer.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/ViewDump.h"
#include "settings/Keys.h"
#include "sim/hosts/TextAudit.h"

namespace zimtone::sim {

using namespace platform::uikit;
using platform::foundation::RunLoop;
using platform::runtime::Object;
using platform::runtime::Ref;

namespace {

// Painted by code so that a fresh device needs no image: a deep blue to violet gradient, dark
// enough that light and dark banners both stand out against it.
Ref<UIView> make_wallpaper(CGRect bounds) {
    auto wallpaper = UIView::create<UIView>(bounds);
    wallpaper->setUserInteractionEnabled(false);
    auto gradient = platform::runtime::make_object<CAGradientLayer>();
    gradient->setFrame(bounds);
    gradient->setColors(
        platform::foundation::NSArray::create({Ref<Object>(UIColor::colorWithRGBA(0.11, 0.23, 0.45, 1)),
                                               Ref<Object>(UIColor::colorWithRGBA(0.36, 0.20, 0.47, 1)),
                                               Ref<Object>(UIColor::colorWithRGBA(0.85, 0.45, 0.40, 1))})
            .get());
    wallpaper->layer()->addSublayer(gradient.get());
    return wallpaper;
}

// Registered at set-up, read by every dump; the process keeps them for its life.
std::vector<DumpDetail>& dump_details() {
    static auto* details = new std::vector<DumpDetail>;
    return *details;
}

void add_details(const UIView& view, nlohmann::json& entry) {
    for (auto& detail : dump_details())
        detail(view, entry);
    auto& subviews = entry["subviews"];
    const auto& children = view.subview_list();
    for (size_t i = 0; i < children.size() && i < subviews.size(); ++i)
        add_details(*children[i], subviews[i]);
}

nlohmann::json class_name_or_null(const Object* object) {
    if (!object)
        return nullptr;
    return platform::runtime::class_getName(object->isa());
}

nlohmann::json dump_timers() {
    nlohmann::json timers = nlohmann::json::array();
    for (const auto& timer : RunLoop::main().timers())
        timers.push_back({{"fireDate", timer.fire_date},
                          {"interval", timer.interval},
                          {"repeats", timer.repeats == platform::foundation::Repeats::Yes},
                          {"holder", class_name_or_null(timer.holder.get())},
                          {"target", class_name_or_null(timer.target.get())}});
    return timers;
}

// One renderer for every screenshot of this process: the live page asks for a frame many times a
// second, and the renderer keeps its surface, text context and converted images between them.
platform::render::ViewRenderer& renderer() {
    static auto* shared = new platform::render::ViewRenderer;
    return *shared;
}

// Set from the command line before the loop runs; read by every screenshot.
std::vector<std::filesystem::path>& screenshot_folders() {
    static auto* folders = new std::vector<std::filesystem::path>;
    return *folders;
}

bool is_within(const std::filesystem::path& folder, const std::filesystem::path& base) {
    std::error_code ec;
    auto relative = folder.lexically_relative(std::filesystem::weakly_canonical(base, ec));
    return !ec && !relative.empty() && *relative.begin() != "..";
}

// Links are resolved first, so none leads a picture out of the allowed folders.
platform::foundation::Result<void> may_write_screenshot(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path folder = fs::weakly_canonical(fs::absolute(path, ec).parent_path(), ec);
    if (!ec && is_within(folder, platform::foundation::device_root()))
        return {};
    for (const auto& allowed : screenshot_folders())
        if (!ec && is_within(folder, allowed))
            return {};
    return platform::foundation::Failure{
        "screenshot writes only under the device root or the output folder given to the command that "
        "started this host; refused " +
        path};
}

platform::foundation::Result<void> write_screenshot(const std::string& path) {
    if (auto allowed = may_write_screenshot(path); !allowed)
        return allowed;
    screen()->layoutIfNeeded();
    if (auto drawn = renderer().render(screen()); !drawn)
        return drawn;
    auto png = renderer().png();
    if (!png)
        return platform::foundation::Failure{png.error()};
    return platform::foundation::write_file_atomically(path, *png);
}

// What changes the screen, and who draws it again.
struct ScreenState {
    // Started from the wall clock, so that a host started again (a respring) never answers a
    // generation its predecessor gave out and a launcher still holds.
    uint64_t generation{static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::system_clock::now().time_since_epoch())
                                                  .count())};
    std::vector<std::function<void()>> frame_checks;
    std::vector<std::function<void()>> refreshes;
    bool follow_settings{false};
    bool refresh_pending{false};
};

// Set up with the screen, kept for the process's life.
ScreenState& state() {
    static auto* shared = new ScreenState;
    return *shared;
}

// Commands that leave the screen as it was: they look, or set what a later tap or frame uses.
bool is_read_only_command(const std::string& name) {
    static const std::set<std::string> read_only{
        "dump",       "ping",   "help", "apps",     "tweak",           "frame",
        "screenshot", "timers", "log",  "composer", "follow-settings", "icon"};
    return read_only.contains(name);
}

// Each of the tweak's groups posts its own reload; any of them may recolour what is on screen.
void on_settings_reload(platform::foundation::CFNotificationCenterRef, void*,
                        platform::foundation::CFStringRef, const void*,
                        platform::foundation::CFDictionaryRef) {
    if (!state().follow_settings || state().refresh_pending)
        return;
    // The tweak hears the same notification, maybe after this observer: the surfaces are opened
    // again on the next turn of the loop, once it has taken the new settings.
    state().refresh_pending = true;
    RunLoop::main().post([] {
        state().refresh_pending = false;
        if (state().follow_settings)
            refresh_screen();
    });
}

void observe_settings_reloads() {
    namespace names = zimtone::settings::notifications;
    for (const char* name :
         {names::kLoadBanner, names::kLoadNotificationCenter, names::kLoadLockscreen, names::kLoadRequests})
        platform::foundation::CFNotificationCenterAddObserver(
            platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(), &state(), on_settings_reload,
            name, nullptr, platform::foundation::CFNotificationSuspensionBehaviorDeliverImmediately);
}

std::optional<uint64_t> parse_generation(const std::string& text) {
    if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0')
        return std::nullopt;
    return value;
}

CommandResult draw_frame(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return CommandResult::failure("frame takes a file name and the generation of the last frame");
    auto since = parse_generation(args[1]);
    if (!since)
        return CommandResult::failure(
            "frame takes the last frame's generation as a whole number, 0 for none");
    for (auto& check : state().frame_checks)
        check();
    uint64_t generation = state().generation;
    if (*since == generation)
        return CommandResult::success({{"changed", false}, {"generation", generation}});
    if (auto written = write_screenshot(args[0]); !written)
        return CommandResult::failure(written.error());
    return CommandResult::success({{"changed", true}, {"generation", generation}, {"path", args[0]}});
}

CommandResult switch_follow_settings(const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off"))
        return CommandResult::failure("follow-settings takes on or off");
    set_follow_settings(args[0] == "on");
    return CommandResult::success({{"follow", follows_settings()}});
}

void mark_for_layout(UIView& view) {
    view.setNeedsLayout();
    for (const auto& child : view.subview_list())
        mark_for_layout(*child);
}

} // namespace

UIWindow* screen() {
    static UIWindow* window = [] {
        auto bounds = platform::foundation::CGRectMake(0, 0, kScreenWidth, kScreenHeight);
        auto w = UIView::create<UIWindow>(bounds);
        w->addSubview(make_wallpaper(bounds).get());
        return w.leak(); // the screen lives as long as its process
    }();
    return window;
}

platform::foundation::CGRect rect_on_screen(const UIView* view) {
    return {view->convertPointToView({0, 0}, nullptr), view->bounds().size};
}

void allow_screenshot_folder(const std::filesystem::path& folder) {
    screenshot_folders().push_back(std::filesystem::absolute(folder));
}

void add_dump_detail(DumpDetail detail) {
    dump_details().push_back(std::move(detail));
}

nlohmann::json dump_screen() {
    screen()->layoutIfNeeded();
    auto tree = dump_view(screen());
    add_details(*screen(), tree);
    return {{"screen", std::move(tree)}, {"now", RunLoop::main().now()}, {"timers", dump_timers()}};
}

uint64_t screen_generation() {
    return state().generation;
}

void mark_screen_changed() {
    ++state().generation;
}

void add_frame_check(std::function<void()> check) {
    state().frame_checks.push_back(std::move(check));
}

void add_screen_refresh(std::function<void()> refresh) {
    state().refreshes.push_back(std::move(refresh));
}

void set_follow_settings(bool follow) {
    state().follow_settings = follow;
}

bool follows_settings() {
    return state().follow_settings;
}

void refresh_screen() {
    for (auto& refresh : state().refreshes)
        refresh();
    screen()->layoutIfNeeded();
    mark_screen_changed();
}

void set_up_screen(HostProcess& host) {
    UIWindow::runtime_class();
    host.on_command = [](const std::string& name) {
        if (!is_read_only_command(name))
            mark_screen_changed();
    };
    RunLoop::main().set_activity_observer([&host](platform::foundation::Activity activity, int fd) {
        if (activity != platform::foundation::Activity::Source || !host.is_command_channel(fd))
            mark_screen_changed();
    });
    observe_settings_reloads();
    set_up_text_audit(host);
    host.add_command("frame",
                     "frame PATH.png SINCE  (draws the screen only when it changed since generation SINCE; "
                     "0 for the first frame)",
                     draw_frame);
    host.add_command("follow-settings",
                     "follow-settings on|off  (a settings change opens again what the screen shows)",
                     switch_follow_settings);
    host.add_command("dump",
                     "dump  (the view tree of the screen, the clock and the scheduled timers as JSON)",
                     [](auto&) { return CommandResult::success(dump_screen()); });
    host.add_command("layout", "layout  (one layout pass over every view of the screen)", [](auto&) {
        mark_for_layout(*screen());
        screen()->layoutIfNeeded();
        return CommandResult::success();
    });
    host.add_command("screenshot", "screenshot PATH.png", [](const std::vector<std::string>& args) {
        if (args.size() != 1)
            return CommandResult::failure("screenshot takes one file name");
        if (auto written = write_screenshot(args[0]); !written)
            return CommandResult::failure(written.error());
        return CommandResult::success({{"path", args[0]}});
    });
    host.add_command(
        "advance", "advance SECONDS  (virtual clock only)", [](const std::vector<std::string>& args) {
            double seconds = -1;
            if (args.size() == 1) {
                char* end = nullptr;
                seconds = std::strtod(args[0].c_str(), &end);
                if (args[0].empty() || *end != '\0')
                    seconds = -1; // "5s" or "soon" is no number
            }
            if (!(seconds >= 0 && std::isfinite(seconds) && seconds <= 86400))
                return CommandResult::failure("advance takes a number of seconds between 0 and 86400");
            if (!RunLoop::main().clock_is_virtual())
                return CommandResult::failure("the host runs on the real clock");
            RunLoop::main().advance(seconds);
            screen()->layoutIfNeeded();
            return CommandResult::success({{"now", RunLoop::main().now()}});
        });
}

} // namespace zimtone::sim
