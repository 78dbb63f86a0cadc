#include "TempDevice.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/foundation/DevicePaths.h"

namespace applist_test {

namespace fs = std::filesystem;

TempDevice::TempDevice() {
    std::string pattern = (fs::temp_directory_path() / "zimtone-applist-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary device root");
    root_ = pattern;
    platform::foundation::set_device_root(root_);
}

TempDevice::~TempDevice() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

fs::path TempDevice::path(const std::string& device_path) const {
    return platform::foundation::resolve_device_path(device_path);
}

std::vector<char> read_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

} // namespace applist_test
