// The screen of a host process: a window the size of the device's display that every surface
// draws into, over a wallpaper, with the commands that show it (dump, screenshot), lay it out
// (layout) and move its clock (advance).
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

} // namespace zimtone::sim
