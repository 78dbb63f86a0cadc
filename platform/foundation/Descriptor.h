// A file descriptor closed on every path out of its scope.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform::foundation {

// Closing keeps errno as the failure before it left it.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            int saved = errno;
            ::close(fd_);
            errno = saved;
        }
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded, since a failed close can lose written data.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

} // namespace platform::foundation
