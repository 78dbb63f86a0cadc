// A real host process started for a test, driven through its stdin command channel.
#pragma once

#include <filesystem>
#include <string>

#include "sim/launcher/HostClient.h"

namespace zimtone::testing {

// The build's bin/ folder, where zimtone and zimtone-host live.
std::filesystem::path build_bin_dir();

// `zimtone-host ROLE --stdin --root ROOT`, waiting for its ready line.
class HostUnderTest : public zimtone::sim::HostClient {
  public:
    HostUnderTest(const std::string& role, const std::filesystem::path& root, bool virtual_clock = false)
        : HostClient({build_bin_dir() / "zimtone-host", role, root, virtual_clock, {}}) {}
};

} // namespace zimtone::testing
