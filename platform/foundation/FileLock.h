// An advisory lock on "<file>.lock" beside a file, taken by the writers of that file.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>

namespace platform::foundation {

// Writers of one file take turns by holding this lock (flock) for the whole read-modify-write.
// Readers never take it: the atomic rename already hands them a whole file. Each lock opens its
// own descriptor, so threads of one process exclude each other as well as processes do, and a
// process that dies releases its lock. The lock file stays: removing it would let two writers
// lock different files of the same name.
class FileLock {
  public:
    // Waits for as long as another writer holds the lock. nullopt (errno set) when the lock file
    // cannot be opened.
    static std::optional<FileLock> acquire(const std::filesystem::path& file);
    // As acquire, but gives up after `timeout` with errno EWOULDBLOCK.
    static std::optional<FileLock> acquire_within(const std::filesystem::path& file,
                                                  std::chrono::milliseconds timeout);
    static std::filesystem::path lock_path_for(const std::filesystem::path& file);

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
