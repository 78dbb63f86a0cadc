#include "bench/InstalledDevice.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchDevice.h"
#include "sim/cli/DeviceSetup.h"

namespace zimtone::bench {

const std::filesystem::path& installed_device_root() {
    static BenchDevice device;
    static bool installed = [] {
        if (auto set_up = zimtone::cli::set_up_device(""); !set_up) {
            std::fprintf(stderr, "zimtone bench: cannot set up the device: %s\n", set_up.error().c_str());
            std::exit(1);
        }
        return true;
    }();
    (void)installed;
    return device.root();
}

} // namespace zimtone::bench
