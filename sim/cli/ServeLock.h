// One `zimtone serve` per device root. The launcher holds an exclusive lock on a file under the
// root's var/run for as long as it runs, so a second launcher on the same root is refused before
// it touches the device: it would otherwise restart the hosts under the first one and, on
// leaving, remove the first one's control sockets.
#pragma once

#include <string>
#include <utility>

#include "platform/foundation/Result.h"

namespace zimtone::cli {

class ServeLock {
  public:
    // The device root's lock, or a sentence for a person when another launcher holds it or the
    // lock file cannot be made (a symbolic link in its place, or on the way to it, is never
    // followed).
    static platform::foundation::Result<ServeLock> acquire();

    ServeLock(ServeLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    ServeLock& operator=(ServeLock&&) = delete;
    ~ServeLock();

  private:
    explicit ServeLock(int fd) : fd_(fd) {}

    int fd_;
};

} // namespace zimtone::cli
