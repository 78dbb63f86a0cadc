#include "sim/cli/ServeInput.h"

#include <cmath>
#include <cstdio>

#include "sim/hosts/CommandLine.h"
#include "sim/hosts/HostRoleName.h"

namespace zimtone::cli {

using nlohmann::json;
using platform::foundation::Failure;
using sim::quote_word;

namespace {

constexpr const char* kHome = sim::role_name(sim::HostRoleName::springboard);
constexpr const char* kMessages = sim::role_name(sim::HostRoleName::messages);
constexpr double kScreenWidth = 375;
constexpr double kScreenHeight = 667;

ActionResult on_screen(std::string line) {
    return ActionPlan{.commands = {{kScreenOnShow, std::move(line)}}, .follow_ups = true};
}

// A coordinate of a touch: a finite number within the screen and a little past its edge.
platform::foundation::Result<double> coordinate(const json& r, const char* name, double limit) {
    auto it = r.find(name);
    if (it == r.end() || !it->is_number())
        return Failure{std::string("'") + name + "' must be a number"};
    double value = it->get<double>();
    if (!std::isfinite(value) || value < -kTouchOvershoot || value > limit + kTouchOvershoot)
        return Failure{std::string("'") + name + "' is off the screen (0 to " + std::to_string(int(limit)) +
                       " points)"};
    return value;
}

std::string point_word(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The length of the UTF-8 sequence `lead` starts, 0 for a byte no sequence starts with.
size_t sequence_length(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf)
        return 2;
    if (lead >= 0xe0 && lead <= 0xef)
        return 3;
    if (lead >= 0xf0 && lead <= 0xf4)
        return 4;
    return 0;
}

// One character as a key gives it: a single well-formed UTF-8 sequence that is no control.
bool is_one_character(const std::string& text) {
    if (text.empty())
        return false;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const size_t length = sequence_length(byte(0));
    if (length != text.size())
        return false;
    for (size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xc0) != 0x80)
            return false;
    if (length == 1)
        return byte(0) >= 0x20 && byte(0) != 0x7f;
    if (length == 2)
        return !(byte(0) == 0xc2 && byte(1) < 0xa0); // C1 controls
    if (length == 3)
        return !(byte(0) == 0xe0 && byte(1) < 0xa0) &&
               !(byte(0) == 0xed && byte(1) >= 0xa0); // overlong, surrogates
    return !(byte(0) == 0xf0 && byte(1) < 0x90) &&
           !(byte(0) == 0xf4 && byte(1) >= 0x90); // overlong, past U+10FFFF
}

bool is_screen(const std::string& role) {
    return role == kHome || role == kMessages;
}

} // namespace

ActionResult plan_touch(const json& r) {
    auto phase = r.find("phase");
    if (phase == r.end() || !phase->is_string())
        return Failure{"'phase' must be down, move or up"};
    const std::string& name = phase->get_ref<const std::string&>();
    if (name != "down" && name != "move" && name != "up")
        return Failure{"'phase' must be down, move or up"};
    auto x = coordinate(r, "x", kScreenWidth);
    if (!x)
        return Failure{x.error()};
    auto y = coordinate(r, "y", kScreenHeight);
    if (!y)
        return Failure{y.error()};
    return on_screen("touch " + name + " " + point_word(*x) + " " + point_word(*y));
}

ActionResult plan_key(const json& r) {
    auto key = r.find("key");
    if (key == r.end() || !key->is_string())
        return Failure{"'key' must be a string"};
    const std::string& text = key->get_ref<const std::string&>();
    if (text.size() > kMaxKey)
        return Failure{"'key' is longer than " + std::to_string(kMaxKey) + " bytes"};
    if (text == "Backspace")
        return on_screen("key backspace");
    if (text == "Enter")
        return on_screen("key enter");
    if (!is_one_character(text))
        return Failure{"'key' must be one character, Backspace or Enter"};
    return on_screen("key " + quote_word(text));
}

ActionResult plan_home(const json&) {
    return on_screen("home");
}

ActionResult plan_sleep(const json&) {
    return ActionPlan{.commands = {{kHome, "sleep"}}, .show = kHome, .follow_ups = true};
}

FollowUpResult follow_up_of(const json& answer) {
    FollowUp follow;
    if (!answer.is_object())
        return follow;
    if (auto it = answer.find("show"); it != answer.end()) {
        if (!it->is_string() || !is_screen(it->get_ref<const std::string&>()))
            return Failure{"a host asked to show something that is no screen"};
        follow.show = it->get<std::string>();
    }
    auto it = answer.find("follow");
    if (it == answer.end())
        return follow;
    // The one command a host may ask for: open the quick reply to a message.
    const std::string refused = "a host asked for a command the launcher does not run for it";
    if (!it->is_object() || it->value("role", json()) != kMessages || !it->contains("command") ||
        !(*it)["command"].is_string())
        return Failure{refused};
    auto parsed = sim::parse_command_line((*it)["command"].get<std::string>());
    if (!parsed || !parsed->has_value())
        return Failure{refused};
    const sim::CommandLine& command = **parsed;
    if (command.name != "reply" || command.args.size() != 2)
        return Failure{refused};
    auto planned =
        plan_action({{"action", "reply"}, {"sender", command.args[0]}, {"message", command.args[1]}});
    if (!planned || planned->commands.size() != 1)
        return Failure{refused + ": " + planned.error()};
    follow.commands = {{kMessages, "home"}, planned->commands[0]};
    return follow;
}

} // namespace zimtone::cli
