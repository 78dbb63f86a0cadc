// The writers' lock file: flock on "<file>.lock", blocking or with a bounded wait.
#include "platform/foundation/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

namespace platform::foundation {

namespace {

// A lock file made by another user may be read-only to us; flock works on a read-only descriptor.
int open_lock_file(const std::filesystem::path& file) {
    auto path = FileLock::lock_path_for(file);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            errno = EACCES;
    }
    return fd;
}

void close_keeping_errno(int fd) {
    int saved = errno;
    ::close(fd);
    errno = saved;
}

} // namespace

std::filesystem::path FileLock::lock_path_for(const std::filesystem::path& file) {
    auto path = file;
    path += ".lock";
    return path;
}

std::optional<FileLock> FileLock::acquire(const std::filesystem::path& file) {
    int fd = open_lock_file(file);
    if (fd < 0)
        return std::nullopt;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR)
            continue;
        close_keeping_errno(fd);
        return std::nullopt;
    }
    return FileLock(fd);
}

std::optional<FileLock> FileLock::acquire_within(const std::filesystem::path& file,
                                                 std::chrono::milliseconds timeout) {
    int fd = open_lock_file(file);
    if (fd < 0)
        return std::nullopt;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        auto now = std::chrono::steady_clock::now();
        if (errno != EWOULDBLOCK || now >= deadline) {
            close_keeping_errno(fd);
            return std::nullopt;
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
