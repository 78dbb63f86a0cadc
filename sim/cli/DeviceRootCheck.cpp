#include "sim/cli/DeviceRootCheck.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/foundation/DevicePaths.h"

namespace zimtone::cli {

std::optional<std::string> device_root_problem() {
    const std::string root = platform::foundation::device_root().string();
    struct stat st;
    if (stat(root.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return "no device at " + root +
                   " yet; run 'zimtone device init' (with the same --root) to make one";
        return "cannot use the device root " + root + ": " + std::strerror(errno);
    }
    if (!S_ISDIR(st.st_mode))
        return "the device root " + root + " is not a folder";
    return std::nullopt;
}

} // namespace zimtone::cli
