// The writers' lock file: flock on "/var/run/zimtone-locks/<file>.lock", blocking or with a
// bounded wait.
#include "platform/foundation/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/foundation/Descriptor.h"
#include "platform/foundation/RuntimeFolder.h"

namespace platform::foundation {

namespace {

constexpr const char* kLockDirectory = "/var/run/zimtone-locks";

// The path below the device's "/", with ".." stopping there, as the device root resolves it.
std::filesystem::path relative_device_path(std::string_view device_path) {
    return (std::filesystem::path("/") / std::filesystem::path(device_path))
        .lexically_normal()
        .relative_path();
}

void close_keeping_errno(int fd) {
    int saved = errno;
    ::close(fd);
    errno = saved;
}

Failure refuse(std::string why, int code) {
    errno = code;
    return Failure{std::move(why)};
}

// The lock's folder is reached from the device root without following links and made owner-only,
// as the device's other runtime folders are; the lock file itself is never a link either, so
// nobody can point the lock at another file, and O_NONBLOCK keeps a fifo put in its place from
// stalling the open. A lock file made by another user may be read-only to us; flock works on a
// read-only descriptor.
Result<int> open_lock_file(std::string_view device_path) {
    if (relative_device_path(device_path).empty())
        return refuse(std::generic_category().message(EISDIR), EISDIR);
    const std::string lock = FileLock::lock_device_path(device_path);
    const std::string name = std::filesystem::path(lock).filename().string();
    auto opened = open_runtime_folder(std::filesystem::path(lock).parent_path().string());
    if (!opened)
        return refuse(opened.error(), errno != 0 ? errno : EIO);
    Descriptor folder(*opened);
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    int fd = ::openat(folder.get(), name.c_str(), O_RDWR | O_CREAT | kFlags, 0600);
    if (fd < 0 && errno == EACCES) {
        fd = ::openat(folder.get(), name.c_str(), O_RDONLY | kFlags);
        if (fd < 0 && errno != ELOOP)
            errno = EACCES;
    }
    if (fd < 0) {
        int code = errno;
        struct stat info;
        if (::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode))
            return refuse("the lock file " + lock + " is a symbolic link", code);
        if (code == EISDIR)
            return refuse("the lock file " + lock + " is not a regular file", code);
        return refuse(std::generic_category().message(code), code);
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return refuse("the lock file " + lock + " is not a regular file", EINVAL);
    }
    return fd;
}

} // namespace

std::string FileLock::lock_device_path(std::string_view device_path) {
    return std::string(kLockDirectory) + "/" + relative_device_path(device_path).string() + ".lock";
}

Result<FileLock> FileLock::acquire(std::string_view device_path) {
    auto opened = open_lock_file(device_path);
    if (!opened)
        return Failure{opened.error()};
    int fd = *opened;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR)
            continue;
        std::string why = std::generic_category().message(errno);
        close_keeping_errno(fd);
        return Failure{std::move(why)};
    }
    return FileLock(fd);
}

Result<FileLock> FileLock::acquire_within(std::string_view device_path, std::chrono::milliseconds timeout) {
    auto opened = open_lock_file(device_path);
    if (!opened)
        return Failure{opened.error()};
    int fd = *opened;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        auto now = std::chrono::steady_clock::now();
        if (errno != EWOULDBLOCK || now >= deadline) {
            std::string why = std::generic_category().message(errno);
            close_keeping_errno(fd);
            return Failure{std::move(why)};
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    return FileLock(fd);
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            close_keeping_errno(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

// Closing the descriptor releases the lock.
FileLock::~FileLock() {
    if (fd_ >= 0)
        close_keeping_errno(fd_);
}

} // namespace platform::foundation
