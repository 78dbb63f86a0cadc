// A client connection to a loopback page byte by byte, for the tests that send what no ordinary
// HTTP client sends: heads that trickle in, bodies without end, framing gone wrong. Every wait is
// bounded, so a page that hangs fails the test rather than stalling it.
#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zimtone::testing {

class RawConnection {
  public:
    // Connects to 127.0.0.1:port with a small send buffer, so that what the client has sent is
    // close to what the server took.
    explicit RawConnection(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int small = 64 * 1024;
        setsockopt(fd_, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;
    ~RawConnection() {
        if (fd_ >= 0)
            ::close(fd_);
    }

    bool connected() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Sends all of `bytes` unless the server stops taking them for `bound`; false then or on an error.
    bool send_all(std::string_view bytes, std::chrono::milliseconds bound = std::chrono::seconds(30)) {
        auto until = std::chrono::steady_clock::now() + bound;
        while (!bytes.empty()) {
            ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n > 0) {
                bytes.remove_prefix(static_cast<size_t>(n));
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                return false;
            pollfd p{fd_, POLLOUT, 0};
            if (std::chrono::steady_clock::now() > until || ::poll(&p, 1, 100) < 0)
                return false;
        }
        return true;
    }

    // Reads until one whole answer has arrived (its head and the body its Content-Length
    // announces), the server closes, or the bound passes. What arrived.
    std::string read_answer(std::chrono::milliseconds bound = std::chrono::seconds(60)) {
        std::string answer;
        auto until = std::chrono::steady_clock::now() + bound;
        while (!answer_complete(answer) && std::chrono::steady_clock::now() < until) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            char chunk[4096];
            ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n <= 0)
                break;
            answer.append(chunk, static_cast<size_t>(n));
        }
        return answer;
    }

    // Everything the server sends until it closes the connection, or nullopt when it has not
    // closed it within the bound.
    std::optional<std::string> read_until_closed(std::chrono::milliseconds bound) {
        std::string received;
        auto until = std::chrono::steady_clock::now() + bound;
        while (std::chrono::steady_clock::now() < until) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            char chunk[4096];
            ssize_t n = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
            if (n <= 0)
                return received;
            received.append(chunk, static_cast<size_t>(n));
        }
        return std::nullopt;
    }

    // The status of an answer, or 0 when it has none.
    static int status_of(const std::string& answer) {
        if (answer.rfind("HTTP/1.1 ", 0) != 0 || answer.size() < 12)
            return 0;
        return std::atoi(answer.c_str() + 9);
    }

  private:
    static bool answer_complete(const std::string& answer) {
        size_t head_end = answer.find("\r\n\r\n");
        if (head_end == std::string::npos)
            return false;
        std::string head = answer.substr(0, head_end);
        std::transform(head.begin(), head.end(), head.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        size_t at = head.find("\r\ncontent-length:");
        size_t length = at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 17, nullptr, 10);
        return answer.size() >= head_end + 4 + length;
    }

    int fd_{-1};
};

// What a request with a body without end came to: the bytes the server took before it stopped
// taking them, and the answer it gave.
struct StreamedRequest {
    size_t accepted{0};
    std::string answer;
};

// Sends `head`, then body bytes from `piece(sent)` up to `total`, while reading the answer; stops
// sending once the answer has come or the server stops taking bytes.
inline StreamedRequest stream_request(int port, const std::string& head,
                                      const std::function<std::string(size_t sent)>& piece, size_t total) {
    RawConnection connection(port);
    StreamedRequest result;
    if (!connection.connected() || !connection.send_all(head))
        return result;
    std::atomic<bool> answered{false};
    std::atomic<size_t> accepted{0};
    std::thread writer([&] {
        while (accepted < total && !answered) {
            std::string bytes = piece(accepted);
            bytes.resize(std::min(bytes.size(), total - accepted));
            if (!connection.send_all(bytes, std::chrono::seconds(10)))
                return;
            accepted += bytes.size();
        }
    });
    result.answer = connection.read_answer();
    answered = true;
    ::shutdown(connection.fd(), SHUT_RDWR);
    writer.join();
    result.accepted = accepted;
    return result;
}

// Clients that open a request head and send one more header line a second, never finishing it:
// each holds whatever the server gives a connection whose head is still arriving. They trickle
// until destroyed.
class SlowClients {
  public:
    SlowClients(int port, int count) {
        for (int i = 0; i < count; ++i) {
            connections_.push_back(std::make_unique<RawConnection>(port));
            connections_.back()->send_all("GET / HTTP/1.1\r\n");
        }
        trickle_ = std::thread([this] {
            while (!done_) {
                for (auto& connection : connections_)
                    connection->send_all("X-Slow: 1\r\n", std::chrono::milliseconds(100));
                for (int i = 0; i < 10 && !done_; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }
    SlowClients(const SlowClients&) = delete;
    SlowClients& operator=(const SlowClients&) = delete;
    ~SlowClients() {
        done_ = true;
        trickle_.join();
    }

    bool all_connected() const {
        return std::all_of(connections_.begin(), connections_.end(),
                           [](const auto& connection) { return connection->connected(); });
    }
    RawConnection& first() { return *connections_.front(); }

  private:
    std::vector<std::unique_ptr<RawConnection>> connections_;
    std::atomic<bool> done_{false};
    std::thread trickle_;
};

// The most a server's socket may hold unread on this machine, with room for the page's own
// budgets, its drain and the client's send buffer: the bytes a server that stops reading can
// still have taken.
inline size_t bytes_a_refusing_server_may_take() {
    std::ifstream rmem("/proc/sys/net/ipv4/tcp_rmem");
    size_t low = 0, initial = 0, most = 6 * 1024 * 1024;
    rmem >> low >> initial >> most;
    return most + 4 * 1024 * 1024;
}

} // namespace zimtone::testing
