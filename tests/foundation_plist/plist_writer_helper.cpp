// Test helper process: sets keys "<prefix>0" ... "<prefix>N-1" one update at a time, the way a
// settings pane in another process would, to race another writer.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/SettingsFile.h"

using namespace platform::foundation;

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s DEVICE_ROOT DEVICE_PATH KEY_PREFIX COUNT\n", argv[0]);
        return 2;
    }
    set_device_root(argv[1]);
    const std::string path = argv[2], prefix = argv[3];
    const int64_t count = std::atoll(argv[4]);
    for (int64_t i = 0; i < count; ++i) {
        auto written = update_dictionary_file(path, [&](NSMutableDictionary& dict) {
            dict.set(prefix + std::to_string(i), NSNumber::numberWithInteger(i));
        });
        if (!written) {
            std::fprintf(stderr, "%s\n", written.error().c_str());
            return 1;
        }
    }
    return 0;
}
