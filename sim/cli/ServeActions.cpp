#include "sim/cli/ServeActions.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "settings/Keys.h"
#include "sim/cli/ServeInput.h"
#include "sim/hosts/CommandLine.h"
#include "sim/hosts/HostRoleName.h"

namespace zimtone::cli {

namespace {

using nlohmann::json;
using platform::foundation::Failure;
using platform::foundation::Result;
using sim::quote_word;

constexpr const char* kHome = sim::role_name(sim::HostRoleName::springboard);
constexpr const char* kMessages = sim::role_name(sim::HostRoleName::messages);
constexpr const char* kSettings = sim::role_name(sim::HostRoleName::settings);
// Longer than any role or screen name, short enough that a bad request never echoes much back.
constexpr size_t kMaxRoleName = 32;

// A text field: a string without control characters, within its limit; empty only if allowed.
Result<std::string> text_field(const json& request, const char* name, size_t limit, bool required) {
    auto it = request.find(name);
    if (it == request.end() || it->is_null()) {
        if (required)
            return Failure{std::string("'") + name + "' is missing"};
        return std::string();
    }
    if (!it->is_string())
        return Failure{std::string("'") + name + "' must be a string"};
    const std::string& text = it->get_ref<const std::string&>();
    if (required && text.empty())
        return Failure{std::string("'") + name + "' is empty"};
    if (text.size() > limit)
        return Failure{std::string("'") + name + "' is longer than " + std::to_string(limit) + " bytes"};
    if (std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; }))
        return Failure{std::string("'") + name + "' holds a control character"};
    return text;
}

ActionResult on_home(std::string line) {
    return ActionPlan{.commands = {{kHome, std::move(line)}}, .show = kHome};
}

ActionResult post(const char* name) {
    return ActionPlan{.notification = std::string(name), .show = kHome};
}

ActionResult bulletin(const json& r) {
    auto app = text_field(r, "app", kMaxAppIdentifier, true);
    if (!app)
        return Failure{app.error()};
    if (!is_bundle_identifier(*app))
        return Failure{"'app' is not a bundle identifier"};
    auto title = text_field(r, "title", kMaxTitle, true);
    auto message = text_field(r, "message", kMaxMessage, true);
    auto subtitle = text_field(r, "subtitle", kMaxTitle, false);
    for (auto* f : {&title, &message, &subtitle})
        if (!*f)
            return Failure{f->error()};
    std::string line = "bulletin " + quote_word(*app) + " " + quote_word(*title) + " " + quote_word(*message);
    if (!subtitle->empty())
        line += " " + quote_word(*subtitle);
    return on_home(line);
}

ActionResult reply(const json& r) {
    auto sender = text_field(r, "sender", kMaxTitle, true);
    auto message = text_field(r, "message", kMaxMessage, true);
    for (auto* f : {&sender, &message})
        if (!*f)
            return Failure{f->error()};
    std::string line = "reply " + quote_word(*sender) + " " + quote_word(*message);
    return ActionPlan{.commands = {{kMessages, std::move(line)}}, .show = kMessages};
}

ActionResult show(const json& r) {
    auto screen = text_field(r, "screen", kMaxRoleName, true);
    if (!screen)
        return Failure{screen.error()};
    if (*screen != kHome && *screen != kMessages)
        return Failure{"'screen' must be springboard or messages"};
    return ActionPlan{.show = *screen};
}

// The tweak restarts the hosts it runs in; the ones that died cannot hear it and are started here.
ActionResult respring(const json&) {
    ActionResult result = post(zimtone::settings::notifications::kRespring);
    result->revive = {kHome, kMessages, kSettings};
    return result;
}

ActionResult restart(const json& r) {
    auto role = text_field(r, "role", kMaxRoleName, true);
    if (!role)
        return Failure{role.error()};
    if (*role != kHome && *role != kMessages && *role != kSettings)
        return Failure{"'role' must be springboard, messages or settings"};
    ActionPlan plan;
    plan.revive = {*role};
    return plan;
}

// What a tap on an app's icon posts; the screen stays as it is.
ActionResult composer(const json& r) {
    auto title = text_field(r, "title", kMaxTitle, true);
    auto message = text_field(r, "message", kMaxMessage, true);
    for (auto* f : {&title, &message})
        if (!*f)
            return Failure{f->error()};
    return ActionPlan{.commands = {{kHome, "composer " + quote_word(*title) + " " + quote_word(*message)}}};
}

// Whether a settings change opens again what the screens show.
ActionResult follow_settings(const json& r) {
    auto on = r.find("on");
    if (on == r.end() || !on->is_boolean())
        return Failure{"'on' must be true or false"};
    std::string line = std::string("follow-settings ") + (on->get<bool>() ? "on" : "off");
    return ActionPlan{.commands = {{kHome, line}, {kMessages, line}}};
}

using Planner = std::function<ActionResult(const json&)>;

const std::vector<std::pair<std::string, Planner>>& planners() {
    static const std::vector<std::pair<std::string, Planner>> table = {
        {"bulletin", bulletin},
        {"dismiss", [](const json&) { return on_home("dismiss"); }},
        {"nc-open", [](const json&) { return on_home("nc open"); }},
        {"nc-close", [](const json&) { return on_home("nc close"); }},
        {"lock", [](const json&) { return on_home("lock"); }},
        {"unlock", [](const json&) { return on_home("unlock"); }},
        {"reply", reply},
        {"reply-close",
         [](const json&) {
             return ActionResult(ActionPlan{.commands = {{kMessages, "reply close"}}, .show = kHome});
         }},
        {"test-banner", [](const json&) { return post(zimtone::settings::notifications::kTestBanner); }},
        {"test-lockscreen",
         [](const json&) { return post(zimtone::settings::notifications::kTestLockscreenBanner); }},
        {"respring", respring},
        {"restart", restart},
        {"show", show},
        {"composer", composer},
        {"follow-settings", follow_settings},
        {"touch", plan_touch},
        {"key", plan_key},
        {"home", plan_home},
        {"sleep", plan_sleep},
    };
    return table;
}

} // namespace

bool is_bundle_identifier(const std::string& id) {
    return !id.empty() && id.size() <= kMaxAppIdentifier &&
           std::all_of(id.begin(), id.end(),
                       [](unsigned char c) { return std::isalnum(c) || c == '.' || c == '-' || c == '_'; });
}

ActionResult plan_action(const json& request) {
    if (!request.is_object())
        return Failure{"the request must be a JSON object"};
    auto it = request.find("action");
    if (it == request.end() || !it->is_string())
        return Failure{"'action' is missing"};
    for (auto& [name, planner] : planners())
        if (name == it->get_ref<const std::string&>())
            return planner(request);
    return Failure{"unknown action '" + it->get<std::string>().substr(0, 64) + "'"};
}

} // namespace zimtone::cli
