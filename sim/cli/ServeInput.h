// The page's input for the device: touches, keys and the hardware buttons, planned for the
// screen on show; and what a host's answer to that input asks the launcher to do next.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/cli/ServeActions.h"

namespace zimtone::cli {

// The role of whichever host's screen the page shows when the input arrives.
inline constexpr const char* kScreenOnShow = "on-screen";
// A key press is one character or a named key; a touch may slide a little off the screen.
inline constexpr size_t kMaxKey = 16;
inline constexpr double kTouchOvershoot = 20;

// {"action":"touch","phase":"down"|"move"|"up","x":..,"y":..} in screen points (375 x 667)
ActionResult plan_touch(const nlohmann::json& request);
// {"action":"key","key":"a"|"Backspace"|"Enter"}
ActionResult plan_key(const nlohmann::json& request);
// {"action":"home"}: to the screen on show, which says what to show next.
ActionResult plan_home(const nlohmann::json& request);
// {"action":"sleep"}: Sleep/Wake belongs to the home screen, whichever screen is on show.
ActionResult plan_sleep(const nlohmann::json& request);

// What a host's answer asks of the launcher: a command for another host (the quick reply that a
// banner's Reply opens) and the screen to show next. Only these are carried out, each checked as
// if a person had asked for it; an answer asking anything else gets an error and nothing is done.
struct FollowUp {
    // In order: a reply being written is put away (Home on the Messages extension) before the
    // new one opens, as on the phone.
    std::vector<HostCommandLine> commands;
    std::optional<std::string> show;
};
// The follow-up, or why the answer asked for something not allowed.
using FollowUpResult = platform::foundation::Result<FollowUp>;
FollowUpResult follow_up_of(const nlohmann::json& answer);

} // namespace zimtone::cli
