#include "sim/cli/ServeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zimtone::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockFile = "var/run/serve.lock";

// The folders on the way to the lock file, made owner-only when they are new.
bool make_folders(const fs::path& root, std::string* error) {
    std::error_code ec;
    fs::create_directories(root, ec);
    fs::path folder = root;
    for (const auto& part : fs::path(kLockFile).parent_path()) {
        folder /= part;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            *error = "cannot create " + folder.string() + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<ServeLock> ServeLock::acquire(const fs::path& root, std::string* error) {
    if (!make_folders(root, error))
        return std::nullopt;
    fs::path path = root / kLockFile;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = "cannot open " + path.string() + ": " +
                 (errno == ELOOP ? "it is a symbolic link" : std::strerror(errno));
        return std::nullopt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int cause = errno;
        ::close(fd);
        *error = cause == EWOULDBLOCK ? "another `zimtone serve` is running on the device in " +
                                            root.string() + "; stop it first, or give this one another --root"
                                      : "cannot lock " + path.string() + ": " + std::strerror(cause);
        return std::nullopt;
    }
    return ServeLock(fd);
}

ServeLock::~ServeLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace zimtone::cli
