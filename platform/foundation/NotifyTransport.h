// Carries notification names between processes as Unix datagrams: each observing process binds
// one socket in a shared directory, and a post sends one datagram to every socket there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/RunLoop.h"

namespace platform::foundation {

inline constexpr size_t kMaxNotifyDatagram = 1024;

// Printable ASCII, not empty, and short enough to fit a datagram with its prefix.
bool is_valid_notification_name(std::string_view name);
// The datagram that carries a name; nullopt for an invalid name.
std::optional<std::string> encode_notification(std::string_view name);
// The name a datagram carries; nullopt for anything malformed.
std::optional<std::string_view> decode_notification(std::string_view datagram);

// Writes "zimtone notify: what: detail: error text" to stderr.
void notify_report(const char* what, const std::string& detail = {}, int error = 0);

// The socket directory is given as a device path and resolved at every use, so a changed
// device root or a directory removed while processes run is noticed: the directory is then
// created again (owner-only) and this process's socket bound again. The directory is reached
// without following links below the device root; while it is a file or a link, nothing is sent
// or bound. A listening process also watches the folders from the device root down to the
// directory, so it notices any change on the way by itself even if it never posts; the run loop
// then calls on_directory_changed, and the owner answers with listen(). Not thread-safe; its
// owner serialises calls. The socket is watched on the given run loop, which calls on_readable.
class NotifyTransport {
  public:
    NotifyTransport(std::string device_directory, RunLoop& loop, std::function<void()> on_readable,
                    std::function<void()> on_directory_changed = {});
    ~NotifyTransport();
    NotifyTransport(const NotifyTransport&) = delete;
    NotifyTransport& operator=(const NotifyTransport&) = delete;

    // One datagram to every socket in the directory. A socket that refuses belongs to a process
    // that is gone, and is removed. Answers how many sockets took the datagram, or nullopt when
    // the directory cannot be used.
    std::optional<size_t> send_to_all(std::string_view datagram);
    // Binds this process's socket the first time and keeps it bound from then on; each call
    // checks the directory and the socket file again.
    void listen();
    // Discards the pending directory events; the caller then checks the directory with listen().
    void drain_directory_events();
    // Takes the datagrams waiting on this process's socket; oversized ones are dropped unread.
    std::vector<std::string> receive_pending();
    // Whether this process's socket is bound, so that datagrams can reach it.
    bool bound() const { return socket_fd_ >= 0; }

    // Removes this process's socket file. Async-signal-safe, for exit and signal handlers.
    static void unlink_own_socket();

  private:
    bool ensure_directory();
    void leave_directory();
    bool own_socket_present() const;
    bool bind_socket();
    void close_socket();
    void watch_directory();

    std::string device_directory_;
    RunLoop& loop_;
    std::function<void()> on_readable_;
    std::function<void()> on_directory_changed_;
    std::filesystem::path directory_;
    int directory_fd_{-1};
    uint64_t directory_device_{0};
    uint64_t directory_inode_{0};
    int send_fd_{-1};
    int socket_fd_{-1};
    int watch_fd_{-1};
    std::vector<int> watches_;
    uint64_t socket_inode_{0};
    std::string socket_name_;
    bool listening_{false};
};

} // namespace platform::foundation
