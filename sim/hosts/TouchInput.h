// The input a person gives a host with a screen: touches at screen points, keys of the
// computer's keyboard, and the hardware buttons. A touch goes first to the host's gestures,
// which may claim it; a touch they leave goes to the views under it. Every answer says what the
// input did, and says so when it did nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/foundation/Result.h"
#include "platform/uikit/TouchTracker.h"
#include "sim/hosts/Gestures.h"
#include "sim/hosts/HostProcess.h"

namespace zimtone::sim {

// A little past the screen's edges still counts: a finger that slides off keeps its touch.
inline constexpr double kTouchOvershoot = 40;
// Longer than any key a person can press, short enough for one command line.
inline constexpr size_t kMaxKeyText = 64;

// What one host does with input; a function left empty means the host has no such thing.
struct TouchSurface {
    // What the screen shows now, for the gestures.
    std::function<GestureScene()> scene;
    // Carries out a gesture; the answer says what it did.
    std::function<nlohmann::json(const RecognisedGesture&)> perform;
    // Sees what a touch did to the views (a button fired, a key typed) and adds to the answer.
    std::function<void(const platform::uikit::TouchOutcome&, nlohmann::json& answer)> after_views;
    // The computer's keyboard: a text, "backspace" or "enter".
    std::function<CommandResult(const std::string& key)> key;
    // The hardware buttons.
    std::function<CommandResult()> home;
    std::function<CommandResult()> sleep;
    // While true, touches do nothing (the screen is dark).
    std::function<bool()> asleep;
};

struct TouchCommand {
    enum class Phase { Down, Move, Up } phase{Phase::Down};
    CGPoint point;
};

// `touch down|move|up X Y` read and checked; a failure saying why when it is not one.
platform::foundation::Result<TouchCommand> parse_touch(const std::vector<std::string>& args);

// Registers touch, key, home and sleep (those the surface has) on the host.
void set_up_touch_input(HostProcess& host, TouchSurface surface);

// The role's surface, for HostRoles: the home screen's and the Messages extension's.
TouchSurface springboard_touch_surface();
TouchSurface messages_touch_surface(HostProcess& host);

} // namespace zimtone::sim
