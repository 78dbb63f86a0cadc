#include "platform/foundation/RuntimeFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/foundation/DevicePaths.h"

namespace platform::foundation {

namespace {

constexpr mode_t kOwnerOnly = 0700;
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::string why_not_a_folder(int parent_fd, const char* name, int code) {
    struct stat st;
    if (code == ELOOP || (fstatat(parent_fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)))
        return "is a symbolic link, which is never followed out of the device root";
    if (code == ENOTDIR)
        return "is not a folder";
    return std::strerror(code);
}

} // namespace

Result<int> open_runtime_folder(std::string_view device_path) {
    namespace fs = std::filesystem;
    const fs::path root = device_root();
    // The root is the user's to make (`zimtone device init`): a process that outlives a removed
    // device must not bring an empty one back.
    int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); // the root may be a link the user chose
    if (fd < 0 && errno == ENOENT)
        return Failure{"the device root " + root.string() + " does not exist"};
    if (fd < 0)
        return Failure{"cannot open the device root " + root.string() + ": " + std::strerror(errno)};

    fs::path reached = root;
    for (const fs::path& part : resolve_device_path(device_path).lexically_relative(root)) {
        reached /= part;
        int next = openat(fd, part.c_str(), kFolderFlags);
        if (next < 0 && errno == ENOENT) {
            if (mkdirat(fd, part.c_str(), kOwnerOnly) != 0 && errno != EEXIST) {
                int code = errno;
                close(fd);
                return Failure{"cannot create " + reached.string() + ": " + std::strerror(code)};
            }
            next = openat(fd, part.c_str(), kFolderFlags);
        }
        if (next < 0) {
            std::string why = why_not_a_folder(fd, part.c_str(), errno);
            close(fd);
            return Failure{reached.string() + " " + why};
        }
        close(fd);
        fd = next;
    }

    struct stat st;
    if (fstat(fd, &st) == 0 && st.st_uid == geteuid() && (st.st_mode & 07777) != kOwnerOnly)
        fchmod(fd, kOwnerOnly); // made by an earlier run under a looser umask
    return fd;
}

} // namespace platform::foundation
