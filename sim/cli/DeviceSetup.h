// Creates or refreshes a device root: sample apps, and the deliverables installed where the
// device keeps them (the tweak with its filter, the preference bundle), linked to this build.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/foundation/Result.h"

namespace zimtone::cli {

// The first file the device runs on that a build folder lacks (the tweak and its filter, the
// bundle's plug-in, the host executable, the Settings page), relative to that folder; nullopt
// when all are there.
std::optional<std::filesystem::path> missing_runtime_file(const std::filesystem::path& build);

// argv0 locates the build. A readable error when the build lacks a runtime file or the root
// cannot be made.
platform::foundation::Result<void> set_up_device(const char* argv0);

} // namespace zimtone::cli
