// The host processes of the device: their roles, bundle identifiers, and the classes and
// commands each one has.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "sim/hosts/HostProcess.h"
#include "sim/hosts/HostRoleName.h"

namespace zimtone::sim {

struct HostRole {
    std::string role;
    std::string bundle_identifier;
    std::function<void(HostProcess&)> set_up; // registers the role's classes and commands
};

std::optional<HostRole> find_host_role(const std::string& role);

} // namespace zimtone::sim
