#include "sim/hosts/HostRoles.h"

namespace zimtone::sim {

std::optional<HostRole> find_host_role(const std::string& role) {
    if (role == "springboard") return HostRole { role, "com.apple.springboard", [](HostProcess&) {} };
    if (role == "messages") return HostRole { role, "com.apple.mobilesms.notification", [](HostProcess&) {} };
    return std::nullopt;
}

} // namespace zimtone::sim
