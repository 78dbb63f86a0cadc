// Commands that read or signal the device need one to exist: they say so, and how to make one,
// rather than answer as if an empty device were there.
#pragma once

#include <optional>
#include <string>

namespace zimtone::cli {

// Why the current device root cannot serve as a device ("no device at ROOT yet; ..."), or
// nullopt when it is a folder.
std::optional<std::string> device_root_problem();

} // namespace zimtone::cli
