// The screen of a host process: a window the size of the device's display that every surface
// draws into, over a wallpaper, with the commands that show it (dump, screenshot, frame), lay it
// out (layout), move its clock (advance) and make it follow the settings (follow-settings).
#pragma once

#include <filesystem>
#include <functional>

#include <nlohmann/json.hpp>

#include "platform/uikit/UIWindow.h"
#include "sim/hosts/HostProcess.h"

namespace zimtone::sim {

// An iPhone 6 in points, drawn at 2x.
inline constexpr double kScreenWidth = 375;
inline constexpr double kScreenHeight = 667;

platform::uikit::UIWindow* screen();
void set_up_screen(HostProcess& host);
// A view's rectangle in screen points, through each frame and scrolled bounds above it.
platform::foundation::CGRect rect_on_screen(const platform::uikit::UIView* view);

// `screenshot` writes under the device root, and under folders added here from the host's
// command line (the output folder the user gave the command that started it); nowhere else.
void allow_screenshot_folder(const std::filesystem::path& folder);

// What a host view holds beyond what every view dumps (the strings it draws itself, the
// bulletin it shows): a surface registers one for its views, and `dump` calls each for every
// view, with the view's entry to add to.
using DumpDetail = std::function<void(const platform::uikit::UIView& view, nlohmann::json& entry)>;
void add_dump_detail(DumpDetail detail);

// The `dump` answer: the view tree with every detail, the clock and the scheduled timers.
nlohmann::json dump_screen();

// Anything that may have changed the screen counts it up: a command other than the read-only
// ones, a timer, a run loop source other than the command channels, a posted task. `frame`
// draws only when it moved since the caller's last frame.
uint64_t screen_generation();
void mark_screen_changed();
// Called before `frame` compares generations, for what changes with time alone (the status
// bar's clock): it marks the screen changed when it must be drawn again.
void add_frame_check(std::function<void()> check);

// How a surface on screen is opened again as a person would, so that it takes the settings
// anew. While following the settings, a reload notification runs every one after the tweak
// has reread them; each does nothing when its surface is not on screen.
void add_screen_refresh(std::function<void()> refresh);
void set_follow_settings(bool follow);
bool follows_settings();
// Runs every registered refresh now.
void refresh_screen();

} // namespace zimtone::sim
