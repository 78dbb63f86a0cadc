// The roles of the device's host processes. The names are what `zimtone-host` takes, what the
// launcher addresses a host by and what the page sends; they are spelled here only.
#pragma once

#include <optional>
#include <string_view>

namespace zimtone::sim {

enum class HostRoleName { springboard, messages, settings };

// The wire name of a role: "springboard", "messages" or "settings".
constexpr const char* role_name(HostRoleName role) {
    switch (role) {
    case HostRoleName::springboard:
        return "springboard";
    case HostRoleName::messages:
        return "messages";
    case HostRoleName::settings:
        return "settings";
    }
    return "";
}

// The role a wire name stands for; nullopt for any other text, which no host has.
constexpr std::optional<HostRoleName> parse_role_name(std::string_view name) {
    for (HostRoleName role : {HostRoleName::springboard, HostRoleName::messages, HostRoleName::settings})
        if (name == role_name(role))
            return role;
    return std::nullopt;
}

} // namespace zimtone::sim
