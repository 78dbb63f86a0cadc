#include "tests/support/TempDevice.h"

#include <cstdlib>
#include <string>

#include "platform/foundation/DevicePaths.h"

namespace zimtone::testing {

TempDevice::TempDevice() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zimtone-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
    platform::foundation::set_device_root(root_);
}

TempDevice::~TempDevice() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::filesystem::path TempDevice::path(const std::string& device_path) const {
    return platform::foundation::resolve_device_path(device_path);
}

} // namespace zimtone::testing
