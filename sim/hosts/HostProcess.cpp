#include "sim/hosts/HostProcess.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/RuntimeFolder.h"
#include "platform/uikit/UIApplication.h"
#include "sim/injection/InjectionLoader.h"

namespace zimtone::sim {

using platform::foundation::RunLoop;
namespace fs = std::filesystem;

namespace {

// Pending connections the kernel holds for us; the launcher and a few clients at once fit well.
constexpr int kListenBacklog = 16;

void stop_on_signal(int) {
    RunLoop::main().stop();
}

} // namespace

HostProcess::HostProcess(std::string role, std::string bundle_identifier)
    : role_(std::move(role)), bundle_identifier_(std::move(bundle_identifier)) {
    platform::foundation::NSBundle::set_main_bundle_identifier(bundle_identifier_);
    add_command("ping", "ping", [this](auto&) {
        return CommandResult::success({{"role", role_}, {"bundle", bundle_identifier_}, {"pid", getpid()}});
    });
    add_command("help", "help", [this](auto&) {
        nlohmann::json usage = nlohmann::json::array();
        for (auto& [name, entry] : commands_)
            usage.push_back(entry.first);
        return CommandResult::success({{"commands", usage}});
    });
    add_command("quit", "quit", [this](auto&) {
        exit_with(0);
        return CommandResult::success();
    });
    add_command("tweak", "tweak  (what the injected tweak holds: settings and installed groups)",
                [this](auto&) {
                    for (void* handle : libraries_) {
                        using Diagnostics = const char* (*)();
                        if (auto fn = reinterpret_cast<Diagnostics>(dlsym(handle, "ZimtoneDiagnosticsJSON")))
                            return CommandResult::success(nlohmann::json::parse(fn(), nullptr, false));
                    }
                    return CommandResult::failure("no tweak is loaded in this process");
                });
}

void HostProcess::add_command(const std::string& name, const std::string& usage, Handler handler) {
    commands_[name] = {usage, std::move(handler)};
}

nlohmann::json HostProcess::execute(std::string_view line) {
    auto parsed = parse_command_line(line);
    if (!parsed)
        return {{"ok", false}, {"error", parsed.error()}};
    if (!parsed->has_value())
        return nullptr;
    const CommandLine& command = **parsed;
    auto it = commands_.find(command.name);
    if (it == commands_.end())
        return {{"ok", false}, {"error", "unknown command '" + command.name + "' (try 'help')"}};
    CommandResult result;
    // Commands run inside the run loop: one that throws is answered as failed, and the host goes on.
    try {
        result = it->second.second(command.args);
    } catch (const std::exception& e) {
        result = CommandResult::failure(command.name + " failed: " + e.what());
    } catch (...) {
        result = CommandResult::failure(command.name + " failed: an unexpected error");
    }
    if (on_command)
        on_command(command.name);
    if (!result.ok)
        return {{"ok", false}, {"error", result.error}, {"usage", it->second.first}};
    nlohmann::json reply = {{"ok", true}};
    if (result.body.is_object())
        for (auto& [k, v] : result.body.items())
            reply[k] = v;
    else if (!result.body.is_null())
        reply["result"] = result.body;
    return reply;
}

void HostProcess::exit_with(int status) {
    exit_status_ = status;
    RunLoop::main().stop();
}

void HostProcess::open_control_socket() {
    auto folder = platform::foundation::open_runtime_folder(kHostSocketsDir);
    if (!folder) {
        std::fprintf(stderr, "%s: cannot open control socket: %s\n", role_.c_str(), folder.error().c_str());
        return;
    }
    ::close(*folder);
    fs::path dir = platform::foundation::resolve_device_path(kHostSocketsDir);
    socket_path_ = (dir / (role_ + ".sock")).string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socket_path_.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "%s: control socket path too long: %s\n", role_.c_str(), socket_path_.c_str());
        socket_path_.clear();
        return;
    }
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket_path_.c_str());
    listen_fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    ::unlink(socket_path_.c_str()); // a socket left by a host that died
    // The socket file takes the socket's own mode: only its owner may drive this host.
    if (listen_fd_ < 0 || ::fchmod(listen_fd_, 0600) != 0 ||
        ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listen_fd_, kListenBacklog) != 0) {
        std::fprintf(stderr, "%s: cannot open control socket %s\n", role_.c_str(), socket_path_.c_str());
        if (listen_fd_ >= 0)
            ::close(listen_fd_);
        listen_fd_ = -1;
        socket_path_.clear();
        return;
    }
    RunLoop::main().add_source(listen_fd_, [this] { accept_client(); });
}

void HostProcess::accept_client() {
    int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    clients_[fd].id = next_client_id_++;
    RunLoop::main().add_source(fd, [this, fd] { serve_client(fd); });
}

void HostProcess::serve_client(int fd) {
    auto it = clients_.find(fd);
    if (it == clients_.end())
        return;
    char buffer[4096];
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0)
        it->second.input.append(std::string_view(buffer, static_cast<size_t>(n)));
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        // The lines still buffered run first, and their replies are still delivered.
        RunLoop::main().remove_source(fd);
        it->second.input.end();
        it->second.input_ended = true;
        if (fd == STDIN_FILENO)
            script_ended_ = true;
    }
    drain();
}

// Commands run one at a time: a command that runs the loop (advance) may read more input,
// which waits in its buffer until the command has answered.
void HostProcess::drain() {
    if (busy_)
        return;
    busy_ = true;
    for (bool progress = true; progress;) {
        progress = false;
        for (auto& [fd, client] : clients_) {
            auto line = client.input.take_line();
            if (!line)
                continue;
            int client_fd = fd;
            uint64_t id = client.id;
            auto answer = execute(*line);
            if (!answer.is_null())
                reply(client_fd, id, answer);
            progress = true;
            break; // the map may have changed while the command ran
        }
    }
    busy_ = false;
    close_finished_clients();
    if (script_ended_)
        exit_with(0);
}

void HostProcess::reply(int fd, uint64_t id, const nlohmann::json& answer) {
    auto it = clients_.find(fd);
    if (it == clients_.end() || it->second.id != id)
        return; // the client left while its command ran
    // A command line may carry bytes that are not UTF-8 (echoed in an error, say); they must
    // not bring the host down.
    std::string text = answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    if (fd == STDIN_FILENO) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return;
    }
    Client& client = it->second;
    size_t unread = client.output.size() - client.output_sent + text.size();
    if (unread > kMaxUnreadReplies) {
        std::fprintf(stderr, "%s: a control client left %zu bytes of replies unread; disconnected it\n",
                     role_.c_str(), unread);
        close_client(fd);
        return;
    }
    client.output += text;
    flush(fd);
}

// Hands the socket what it takes now; the rest waits until it can take more.
void HostProcess::flush(int fd) {
    auto it = clients_.find(fd);
    if (it == clients_.end())
        return;
    Client& client = it->second;
    while (client.output_sent < client.output.size()) {
        ssize_t n = ::send(fd, client.output.data() + client.output_sent,
                           client.output.size() - client.output_sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            client.output_sent += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            RunLoop::main().add_writable_source(fd, [this, fd] {
                flush(fd);
                close_finished_clients();
            });
            return;
        } else {
            close_client(fd); // the reader is gone
            return;
        }
    }
    client.output.clear();
    client.output_sent = 0;
    RunLoop::main().remove_writable_source(fd);
}

void HostProcess::close_client(int fd) {
    RunLoop::main().remove_source(fd);
    RunLoop::main().remove_writable_source(fd);
    clients_.erase(fd);
    if (fd != STDIN_FILENO)
        ::close(fd);
}

// A socket client that has said all it will and been answered in full.
void HostProcess::close_finished_clients() {
    if (busy_)
        return;
    std::vector<int> finished;
    for (auto& [fd, client] : clients_)
        if (fd != STDIN_FILENO && client.input_ended && client.output_sent == client.output.size() &&
            client.input.buffer.find('\n') == std::string::npos)
            finished.push_back(fd);
    for (int fd : finished)
        close_client(fd);
}

int HostProcess::run(bool commands_on_stdin) {
    std::signal(SIGINT, stop_on_signal);
    std::signal(SIGTERM, stop_on_signal);
    std::signal(SIGPIPE, SIG_IGN);
    platform::uikit::UIApplication::shared().on_relaunch_springboard = [this] {
        exit_with(kRespringExitStatus);
    };

    auto injected = load_injected_libraries(bundle_identifier_);
    for (auto& e : injected.errors)
        std::fprintf(stderr, "%s: %s\n", role_.c_str(), e.c_str());
    libraries_ = injected.handles;

    open_control_socket();
    if (commands_on_stdin) {
        ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
        clients_[STDIN_FILENO].id = next_client_id_++;
        RunLoop::main().add_source(STDIN_FILENO, [this] { serve_client(STDIN_FILENO); });
    }
    nlohmann::json ready = {{"ready", role_}, {"pid", getpid()}, {"injected", injected.loaded}};
    std::printf("%s\n", ready.dump().c_str());
    std::fflush(stdout);

    RunLoop::main().run();

    if (!socket_path_.empty())
        ::unlink(socket_path_.c_str());
    platform::foundation::notify_shutdown();
    return exit_status_;
}

} // namespace zimtone::sim
