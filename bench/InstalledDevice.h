// The device root of a benchmark that runs hosts: set up as `zimtone device init` sets one up,
// with the sample apps and this build's tweak (with its filter) and preference bundle installed,
// so that every host started on it loads the tweak as on the device. One per process, removed
// at exit; a device that cannot be set up ends the process with the reason.
#pragma once

#include <filesystem>

namespace zimtone::bench {

const std::filesystem::path& installed_device_root();

} // namespace zimtone::bench
