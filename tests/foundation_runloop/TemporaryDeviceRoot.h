// A fresh device root for one test, made with mkdtemp and removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/foundation/DevicePaths.h"

namespace zimtone::testing {

class TemporaryDeviceRoot {
  public:
    // nested_name, when given, is a subdirectory to use as the root (to make long paths).
    explicit TemporaryDeviceRoot(const std::string& nested_name = {}) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zimtone-runloop-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        base_ = pattern;
        root_ = nested_name.empty() ? base_ : base_ / nested_name;
        std::filesystem::create_directories(root_);
        platform::foundation::set_device_root(root_);
    }
    ~TemporaryDeviceRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(base_, ignored);
    }
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    const std::filesystem::path& root() const { return root_; }
    static std::filesystem::path notify_directory() {
        return platform::foundation::resolve_device_path("/var/run/zimtone-notify");
    }

    // The socket files in the notification directory.
    static std::vector<std::string> sockets() {
        std::vector<std::string> names;
        std::error_code error;
        for (auto& entry : std::filesystem::directory_iterator(notify_directory(), error))
            if (entry.is_socket())
                names.push_back(entry.path().filename().string());
        return names;
    }

  private:
    std::filesystem::path base_;
    std::filesystem::path root_;
};

} // namespace zimtone::testing
