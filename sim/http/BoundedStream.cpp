#include "sim/http/BoundedStream.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zimtone::http {

namespace {

// Waits are cut into slices this long so that a stopping server is noticed.
constexpr std::chrono::milliseconds kWaitSlice{100};

using AddressOf = int (*)(int, sockaddr*, socklen_t*);

void address_of(int fd, AddressOf get, std::string& ip, int& port) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    ip.clear();
    port = -1;
    if (get(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        auto* in = reinterpret_cast<sockaddr_in*>(&address);
        inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
        port = ntohs(in->sin_port);
    } else if (address.ss_family == AF_INET6) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&address);
        inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
        port = ntohs(in6->sin6_port);
    }
    ip = text;
}

} // namespace

BoundedStream::BoundedStream(int fd, Limits limits, std::function<bool()> stopping)
    : fd_(fd), limits_(limits), stopping_(std::move(stopping)) {}

bool BoundedStream::wait(short events, Clock::time_point deadline) const {
    while (!stopping_()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd_, events, 0};
        int ready = ::poll(&p, 1, static_cast<int>(std::min(left, kWaitSlice).count()));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

bool BoundedStream::wait_for_request(std::chrono::milliseconds idle) {
    if (offset_ < buffered_)
        return true;
    return wait(POLLIN, Clock::now() + idle);
}

void BoundedStream::start_phase(std::chrono::milliseconds time, size_t bytes) {
    deadline_ = Clock::now() + time;
    budget_ = bytes;
    limit_reached_ = false;
}

void BoundedStream::begin_head() {
    start_phase(limits_.head_time, limits_.head_bytes);
}

void BoundedStream::begin_body() {
    start_phase(limits_.body_time, limits_.body_bytes);
}

ssize_t BoundedStream::fill() {
    for (;;) {
        if (!wait(POLLIN, deadline_)) {
            limit_reached_ = !stopping_();
            return -1;
        }
        ssize_t n = ::recv(fd_, buffer_.data(), buffer_.size(), MSG_DONTWAIT);
        if (n >= 0) {
            offset_ = 0;
            buffered_ = static_cast<size_t>(n);
            return n;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return -1;
    }
}

ssize_t BoundedStream::read(char* ptr, size_t size) {
    if (budget_ == 0) {
        limit_reached_ = true;
        return -1;
    }
    if (offset_ == buffered_) {
        ssize_t n = fill();
        if (n <= 0)
            return n;
    }
    size_t n = std::min({size, buffered_ - offset_, budget_});
    std::memcpy(ptr, buffer_.data() + offset_, n);
    offset_ += n;
    budget_ -= n;
    return static_cast<ssize_t>(n);
}

bool BoundedStream::is_readable() const {
    return offset_ < buffered_ || wait(POLLIN, deadline_);
}

bool BoundedStream::is_writable() const {
    return wait(POLLOUT, Clock::now() + limits_.write_time);
}

// Writes everything or fails: cpp-httplib writes a response's head in one call and does not
// check for a short write.
ssize_t BoundedStream::write(const char* ptr, size_t size) {
    auto deadline = Clock::now() + limits_.write_time;
    size_t written = 0;
    while (written < size) {
        ssize_t n = ::send(fd_, ptr + written, size - written, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return -1;
        if (!wait(POLLOUT, deadline))
            return -1;
    }
    return static_cast<ssize_t>(written);
}

void BoundedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    address_of(fd_, ::getpeername, ip, port);
}

void BoundedStream::get_local_ip_and_port(std::string& ip, int& port) const {
    address_of(fd_, ::getsockname, ip, port);
}

} // namespace zimtone::http
