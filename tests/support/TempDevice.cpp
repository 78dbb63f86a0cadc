#include "tests/support/TempDevice.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/foundation/DevicePaths.h"

namespace zimtone::testing {

TempDevice::TempDevice() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zimtone-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    root_ = pattern;
    platform::foundation::set_device_root(root_);
}

// A process of the test that has not quite ended yet (a host whose launcher was killed) may make
// its notification folder again while the root is being removed; it never makes the root itself,
// so trying again a few times removes everything.
TempDevice::~TempDevice() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
        if (!std::filesystem::exists(std::filesystem::symlink_status(root_, ec)))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::filesystem::path TempDevice::path(const std::string& device_path) const {
    return platform::foundation::resolve_device_path(device_path);
}

} // namespace zimtone::testing
