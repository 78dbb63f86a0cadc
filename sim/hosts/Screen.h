// The screen of a host process: a window the size of the device's display that every surface
// draws into, with the commands that show it (dump, screenshot) and move its clock (advance).
#pragma once

#include "platform/uikit/UIWindow.h"
#include "sim/hosts/HostProcess.h"

namespace zimtone::sim {

// An iPhone 6 in points, drawn at 2x.
inline constexpr double kScreenWidth = 375;
inline constexpr double kScreenHeight = 667;

platform::uikit::UIWindow* screen();
void set_up_screen(HostProcess& host);

} // namespace zimtone::sim
