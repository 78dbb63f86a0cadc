// Where the notify centre of the current device root keeps its sockets, for tests that inspect them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/foundation/DevicePaths.h"

namespace zimtone::testing {

inline std::filesystem::path notify_directory() {
    return platform::foundation::resolve_device_path("/var/run/zimtone-notify");
}

// The socket files in the notification directory.
inline std::vector<std::string> notify_sockets() {
    std::vector<std::string> names;
    std::error_code error;
    for (auto& entry : std::filesystem::directory_iterator(notify_directory(), error))
        if (entry.is_socket())
            names.push_back(entry.path().filename().string());
    return names;
}

} // namespace zimtone::testing
