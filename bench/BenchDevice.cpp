#include "bench/BenchDevice.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/foundation/DevicePaths.h"

namespace zimtone::bench {

BenchDevice::BenchDevice() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zimtone-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("zimtone bench: cannot make a device root");
        std::exit(1);
    }
    root_ = pattern;
    platform::foundation::set_device_root(root_);
}

BenchDevice::~BenchDevice() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

} // namespace zimtone::bench
