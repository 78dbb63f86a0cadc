// The writers' lock of a device file: an advisory lock on a lock file under the device's
// "/var/run/zimtone-locks/", at the file's own path with ".lock" appended.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

namespace platform::foundation {

// Writers of one file take turns by holding this lock (flock) for the whole read-modify-write.
// Readers never take it: the atomic rename already hands them a whole file. Each lock opens its
// own descriptor, so threads of one process exclude each other as well as processes do, and a
// process that dies releases its lock. The lock file stays: removing it would let two writers
// lock different files of the same name. It lives outside the file's folder so that the folder
// holds only the file, and is never reached through a symbolic link.
class FileLock {
  public:
    // Waits for as long as another writer holds the lock. A failure when the lock file cannot be
    // opened, with errno set and the reason as its message, e.g. "the lock file
    // /var/run/zimtone-locks/x.plist.lock is a symbolic link" or "Permission denied".
    static Result<FileLock> acquire(std::string_view device_path);
    // As acquire, but gives up after `timeout` with errno EWOULDBLOCK.
    static Result<FileLock> acquire_within(std::string_view device_path, std::chrono::milliseconds timeout);
    // The device path of the lock file that every writer of `device_path` agrees on.
    static std::string lock_device_path(std::string_view device_path);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

  private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_{-1};
};

} // namespace platform::foundation
