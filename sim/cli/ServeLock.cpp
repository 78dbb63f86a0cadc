#include "sim/cli/ServeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/foundation/Descriptor.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/RuntimeFolder.h"

namespace zimtone::cli {

namespace fs = std::filesystem;

platform::foundation::Result<ServeLock> ServeLock::acquire() {
    using platform::foundation::Failure;
    const fs::path root = platform::foundation::device_root();
    // The root is made here because the lock comes before the device is set up.
    std::error_code ec;
    fs::create_directories(root, ec);
    auto opened = platform::foundation::open_runtime_folder("/var/run");
    if (!opened)
        return Failure{opened.error()};
    platform::foundation::Descriptor folder(*opened);
    fs::path path = root / "var/run/serve.lock";
    int fd = ::openat(folder.get(), "serve.lock", O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return Failure{"cannot open " + path.string() + ": " +
                       (errno == ELOOP ? "it is a symbolic link" : std::strerror(errno))};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int cause = errno;
        ::close(fd);
        return Failure{cause == EWOULDBLOCK
                           ? "another `zimtone serve` is running on the device in " + root.string() +
                                 "; stop it first, or give this one another --root"
                           : "cannot lock " + path.string() + ": " + std::strerror(cause)};
    }
    return ServeLock(fd);
}

ServeLock::~ServeLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace zimtone::cli
