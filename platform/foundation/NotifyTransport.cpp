#include "platform/foundation/NotifyTransport.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <set>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/RuntimeFolder.h"

namespace platform::foundation {

namespace {

constexpr std::string_view kMagic = "ZTN1:";
constexpr size_t kMaxSocketName = 64;
constexpr std::string_view kSocketSuffix = ".sock";
// The rest wait for the next pass, so a flood cannot starve the loop.
constexpr int kMaxDatagramsPerWake = 256;

// This process's socket file, kept in plain atomics so that exit and signal handlers can remove
// it without locks or allocation.
struct OwnSocket {
    std::atomic<int> directory_fd{-1};
    std::atomic<pid_t> owner{0}; // a forked child must not remove its parent's socket
    char name[kMaxSocketName + 1]{};
};
constinit OwnSocket own_socket;

bool is_socket_entry(std::string_view name) {
    return name.size() > kSocketSuffix.size() && name.size() <= kMaxSocketName &&
           name.ends_with(kSocketSuffix);
}

std::string make_socket_name() {
    std::random_device entropy; // not arc4random: tests seed that and must not see it consumed here
    char name[kMaxSocketName + 1];
    std::snprintf(name, sizeof name, "%d-%08x.sock", static_cast<int>(getpid()), entropy());
    return name;
}

struct SocketAddress {
    sockaddr_un address{};
    socklen_t length{0};
    bool via_proc{false};
};

// sun_path holds 108 bytes; a longer path is reached through the open directory's descriptor.
std::optional<SocketAddress> socket_address(const std::filesystem::path& directory, int directory_fd,
                                            std::string_view name) {
    SocketAddress out;
    std::string path = (directory / name).string();
    if (path.size() >= sizeof out.address.sun_path) {
        path = "/proc/self/fd/" + std::to_string(directory_fd) + "/" + std::string(name);
        out.via_proc = true;
    }
    if (path.size() >= sizeof out.address.sun_path)
        return std::nullopt;
    out.address.sun_family = AF_UNIX;
    std::memcpy(out.address.sun_path, path.c_str(), path.size() + 1);
    out.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    return out;
}

// Only the first time this process meets a failure with that detail, so a broken directory is
// reported once however often it is used.
void notify_report_once(const char* what, const std::string& detail, int error = 0) {
    static std::mutex lock;
    static auto* reported = new std::set<std::pair<std::string, std::string>>;
    {
        std::lock_guard guard(lock);
        if (!reported->emplace(what, detail).second)
            return;
    }
    notify_report(what, detail, error);
}

bool is_socket_file(int directory_fd, const dirent& entry) {
    if (entry.d_type == DT_SOCK)
        return true;
    if (entry.d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    return fstatat(directory_fd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISSOCK(st.st_mode);
}

} // namespace

bool is_valid_notification_name(std::string_view name) {
    if (name.empty() || name.size() > kMaxNotifyDatagram - kMagic.size())
        return false;
    for (char c : name)
        if (c < 0x20 || c > 0x7e)
            return false;
    return true;
}

std::optional<std::string> encode_notification(std::string_view name) {
    if (!is_valid_notification_name(name))
        return std::nullopt;
    std::string datagram(kMagic);
    datagram += name;
    return datagram;
}

std::optional<std::string_view> decode_notification(std::string_view datagram) {
    if (datagram.size() > kMaxNotifyDatagram || !datagram.starts_with(kMagic))
        return std::nullopt;
    std::string_view name = datagram.substr(kMagic.size());
    if (!is_valid_notification_name(name))
        return std::nullopt;
    return name;
}

void notify_report(const char* what, const std::string& detail, int error) {
    std::string line = std::string("zimtone notify: ") + what;
    if (!detail.empty())
        line += ": " + detail;
    if (error)
        line += std::string(": ") + std::strerror(error);
    std::fprintf(stderr, "%s\n", line.c_str());
}

NotifyTransport::NotifyTransport(std::string device_directory, RunLoop& loop,
                                 std::function<void()> on_readable,
                                 std::function<void()> on_directory_changed)
    : device_directory_(std::move(device_directory)), loop_(loop), on_readable_(std::move(on_readable)),
      on_directory_changed_(std::move(on_directory_changed)) {}

NotifyTransport::~NotifyTransport() {
    leave_directory();
    if (watch_fd_ >= 0) {
        loop_.remove_source(watch_fd_);
        close(watch_fd_);
    }
    if (send_fd_ >= 0)
        close(send_fd_);
}

bool NotifyTransport::ensure_directory() {
    auto opened = open_runtime_folder(device_directory_);
    int fd = opened.value_or(-1);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        notify_report_once("cannot create the notification directory",
                           opened.ok() ? device_directory_ : opened.error(), fd < 0 ? 0 : errno);
        if (fd >= 0)
            close(fd);
        leave_directory(); // a socket left behind there is out of everybody's reach
        return false;
    }
    if (directory_fd_ >= 0 && st.st_dev == directory_device_ && st.st_ino == directory_inode_) {
        close(fd);
        if (listening_ && !own_socket_present())
            return bind_socket();
        return true;
    }
    leave_directory();
    directory_fd_ = fd;
    directory_ = resolve_device_path(device_directory_);
    directory_device_ = st.st_dev;
    directory_inode_ = st.st_ino;
    return listening_ ? bind_socket() : true;
}

void NotifyTransport::leave_directory() {
    if (directory_fd_ < 0)
        return;
    own_socket.directory_fd.store(-1);
    if (listening_ && socket_fd_ >= 0)
        unlinkat(directory_fd_, socket_name_.c_str(), 0);
    close_socket();
    close(directory_fd_);
    directory_fd_ = -1;
}

// Our socket file, not one somebody put in its place.
bool NotifyTransport::own_socket_present() const {
    struct stat st;
    return socket_fd_ >= 0 && fstatat(directory_fd_, socket_name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISSOCK(st.st_mode) && st.st_ino == socket_inode_;
}

void NotifyTransport::close_socket() {
    if (socket_fd_ < 0)
        return;
    loop_.remove_source(socket_fd_);
    close(socket_fd_);
    socket_fd_ = -1;
}

bool NotifyTransport::bind_socket() {
    close_socket();
    if (socket_name_.empty())
        socket_name_ = make_socket_name();
    auto address = socket_address(directory_, directory_fd_, socket_name_);
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0 || !address) {
        notify_report_once("cannot create this process's notification socket", directory_.string(), errno);
        if (fd >= 0)
            close(fd);
        return false;
    }
    // The socket file takes the socket's own mode, so no other user may ever send to it.
    fchmod(fd, 0600);
    unlinkat(directory_fd_, socket_name_.c_str(), 0); // a file left by an earlier process of the same name
    struct stat st;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address->address), address->length) != 0 ||
        fstatat(directory_fd_, socket_name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        notify_report_once("cannot bind this process's notification socket", directory_.string(), errno);
        close(fd);
        return false;
    }
    socket_fd_ = fd;
    socket_inode_ = st.st_ino;
    loop_.add_source(fd, on_readable_);

    own_socket.directory_fd.store(-1);
    std::memcpy(own_socket.name, socket_name_.c_str(), socket_name_.size() + 1);
    own_socket.owner.store(getpid());
    own_socket.directory_fd.store(directory_fd_);
    static std::once_flag at_exit;
    std::call_once(at_exit, [] { std::atexit(&NotifyTransport::unlink_own_socket); });
    return true;
}

// Every folder from the device root down to the directory that exists now, so that whatever
// happens on the way (the directory removed, replaced by a file or a link, made again by a post)
// wakes this process. Without a watch the process still recovers at its next post.
void NotifyTransport::watch_directory() {
    if (!on_directory_changed_)
        return;
    if (watch_fd_ < 0) {
        watch_fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch_fd_ < 0) {
            notify_report_once("cannot watch the notification directory", device_directory_, errno);
            return;
        }
        loop_.add_source(watch_fd_, on_directory_changed_);
    }
    constexpr uint32_t kNames = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    constexpr uint32_t kSelf = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    const std::filesystem::path root = device_root();
    const std::filesystem::path directory = resolve_device_path(device_directory_);
    std::vector<int> watches;
    std::filesystem::path folder = root;
    auto watch = [&](uint32_t mask) {
        int added = inotify_add_watch(watch_fd_, folder.c_str(), mask | kSelf);
        if (added >= 0)
            watches.push_back(added);
        return added >= 0;
    };
    bool reached = watch(kNames); // the root may be a link the user chose
    if (!reached) {
        folder = root.parent_path(); // for the device root coming back
        watch(kNames);
        folder = root;
    }
    for (const auto& part : directory.lexically_relative(root)) {
        if (!reached || part == ".")
            break;
        folder /= part;
        // In the directory itself only removals matter: other processes' sockets come and go.
        reached = watch((folder == directory ? IN_DELETE | IN_MOVED_FROM : kNames) | IN_DONT_FOLLOW);
    }
    for (int old : watches_)
        if (std::find(watches.begin(), watches.end(), old) == watches.end())
            inotify_rm_watch(watch_fd_, old); // fails harmlessly for a folder already gone
    watches_ = std::move(watches);
}

void NotifyTransport::drain_directory_events() {
    if (watch_fd_ < 0)
        return;
    alignas(inotify_event) char buffer[4096];
    while (true) {
        ssize_t got = read(watch_fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
    }
}

void NotifyTransport::listen() {
    listening_ = true;
    // Watched before and after the look: a change after the first watch is announced, and the
    // second covers the folders the look made.
    watch_directory();
    ensure_directory();
    watch_directory();
}

std::optional<size_t> NotifyTransport::send_to_all(std::string_view datagram) {
    if (!ensure_directory())
        return std::nullopt;
    if (send_fd_ < 0)
        send_fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (send_fd_ < 0) {
        notify_report_once("cannot create the sending socket", {}, errno);
        return std::nullopt;
    }
    // A fresh description of the directory, so the scan has its own read position.
    int scan_fd = openat(directory_fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* scan = scan_fd >= 0 ? fdopendir(scan_fd) : nullptr;
    if (!scan) {
        notify_report_once("cannot read the notification directory", directory_.string(), errno);
        if (scan_fd >= 0)
            close(scan_fd);
        return std::nullopt;
    }
    size_t received = 0;
    while (const dirent* entry = readdir(scan)) {
        if (!is_socket_entry(entry->d_name) || !is_socket_file(directory_fd_, *entry))
            continue;
        auto address = socket_address(directory_, directory_fd_, entry->d_name);
        if (!address)
            continue;
        ssize_t sent;
        do {
            sent = sendto(send_fd_, datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                          reinterpret_cast<const sockaddr*>(&address->address), address->length);
        } while (sent < 0 && errno == EINTR);
        if (sent >= 0) {
            ++received;
            continue;
        }
        // Without /proc a long path fails with ENOENT for live sockets too, so only a refusal
        // counts as stale there.
        bool stale = errno == ECONNREFUSED || (errno == ENOENT && !address->via_proc);
        if (stale)
            unlinkat(directory_fd_, entry->d_name, 0);
        else if (errno == EAGAIN || errno == EWOULDBLOCK)
            notify_report_once("an observing process is not reading; its notification was dropped",
                               entry->d_name);
        else
            notify_report_once("cannot send a notification", entry->d_name, errno);
    }
    closedir(scan);
    return received;
}

std::vector<std::string> NotifyTransport::receive_pending() {
    std::vector<std::string> datagrams;
    if (socket_fd_ < 0)
        return datagrams;
    char buffer[kMaxNotifyDatagram + 1];
    for (int taken = 0; taken < kMaxDatagramsPerWake;) {
        ssize_t size = recv(socket_fd_, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC);
        if (size < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        ++taken;
        if (static_cast<size_t>(size) > kMaxNotifyDatagram)
            continue; // MSG_TRUNC reports the full size
        datagrams.emplace_back(buffer, static_cast<size_t>(size));
    }
    return datagrams;
}

void NotifyTransport::unlink_own_socket() {
    int directory_fd = own_socket.directory_fd.exchange(-1);
    if (directory_fd >= 0 && own_socket.owner.load() == getpid())
        unlinkat(directory_fd, own_socket.name, 0);
}

} // namespace platform::foundation
