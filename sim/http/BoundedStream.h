// One client connection as cpp-httplib reads and writes it, with the limits the library does not
// keep itself. It grows its line buffers without bound, reads chunked bodies without a cap and
// times out only each single read, so a client could hold a worker forever with one header line
// every few seconds or fill memory with one endless line. Here a request head must arrive whole
// within a short time and a byte budget, a body within its own time and budget, and every wait
// ends when the server stops.
#pragma once

#include <httplib.h>

#include <array>
#include <chrono>
#include <functional>

namespace zimtone::http {

class BoundedStream : public httplib::Stream {
  public:
    struct Limits {
        std::chrono::milliseconds head_time;
        size_t head_bytes;
        std::chrono::milliseconds body_time;
        size_t body_bytes;
        std::chrono::milliseconds write_time;
    };

    // `stopping` answers whether the server is shutting down; waits end early when it does.
    BoundedStream(int fd, Limits limits, std::function<bool()> stopping);

    // Waits up to `idle` for the client's next request: false once the client closed the
    // connection, stayed quiet or the server stops.
    bool wait_for_request(std::chrono::milliseconds idle);
    // The head of a request starts now: its time and byte budget run from here.
    void begin_head();
    // The head has been read; what follows is the body, with a budget of its own.
    void begin_body();
    // Whether a time or byte limit cut the current request short.
    bool limit_reached() const { return limit_reached_; }

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return fd_; }

  private:
    using Clock = std::chrono::steady_clock;

    // Waits for `events` on the socket until `deadline`; false on timeout, error or stop.
    bool wait(short events, Clock::time_point deadline) const;
    // Refills the buffer from the socket: the bytes read, 0 at the end of the stream, -1 on a
    // failure or a missed deadline.
    ssize_t fill();
    void start_phase(std::chrono::milliseconds time, size_t bytes);

    int fd_;
    Limits limits_;
    std::function<bool()> stopping_;
    std::array<char, 4096> buffer_{};
    size_t buffered_{0};
    size_t offset_{0};
    Clock::time_point deadline_{};
    size_t budget_{0};
    bool limit_reached_{false};
};

} // namespace zimtone::http
