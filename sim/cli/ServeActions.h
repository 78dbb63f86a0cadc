// What each control of the device page does: a JSON request becomes host command lines, a Darwin
// notification to post, and the screen to show afterwards. Everything a person typed is checked
// here, before any of it reaches a host.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/foundation/Result.h"

namespace zimtone::cli {

struct HostCommandLine {
    std::string role;
    std::string line;
};

struct ActionPlan {
    std::vector<HostCommandLine> commands{};
    std::optional<std::string> notification{};
    std::optional<std::string> show{};
    // Hosts to start again when they are not running, whether they ended or never started.
    std::vector<std::string> revive{};
    // Input from a person: the answer may ask the launcher to open a reply or show a screen.
    bool follow_ups{false};
};

// A plan, or why the request cannot be carried out.
using ActionResult = platform::foundation::Result<ActionPlan>;

// Limits on what a person may type: long enough for any real notification, short enough to
// stay far inside one host command line.
inline constexpr size_t kMaxTitle = 200;
inline constexpr size_t kMaxMessage = 1000;
inline constexpr size_t kMaxAppIdentifier = 255;

// Letters, digits, '.', '-' and '_', within kMaxAppIdentifier: safe to hand a host as one word.
bool is_bundle_identifier(const std::string& id);

// {"action":"bulletin","app":..,"title":..,"message":..[,"subtitle":..]}, {"action":"nc-open"},
// {"action":"restart","role":..}, ...
ActionResult plan_action(const nlohmann::json& request);

} // namespace zimtone::cli
