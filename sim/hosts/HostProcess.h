// What every simulated host process shares: its bundle identifier, the injected libraries, the
// main run loop, and a command channel (a Unix socket under the device root, and optionally
// stdin) that answers each command line with one JSON line. A reply a client's socket will not
// take at once waits for it without holding up the loop; a client that leaves more than
// kMaxUnreadReplies unread is disconnected.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/hosts/CommandLine.h"

namespace zimtone::sim {

// A respring: the launcher starts a host that exits with this status again.
inline constexpr int kRespringExitStatus = 75;
inline constexpr const char* kHostSocketsDir = "/var/run/zimtone-hosts";
// Many dumps of a crowded screen; a client that lets more than this pile up is not reading.
inline constexpr size_t kMaxUnreadReplies = 32u << 20;

struct CommandResult {
    bool ok{true};
    nlohmann::json body;
    std::string error;
    static CommandResult success(nlohmann::json body = nlohmann::json::object()) {
        return {true, std::move(body), {}};
    }
    static CommandResult failure(std::string error) { return {false, nullptr, std::move(error)}; }
};

class HostProcess {
  public:
    using Handler = std::function<CommandResult(const std::vector<std::string>& args)>;

    HostProcess(std::string role, std::string bundle_identifier);

    const std::string& role() const { return role_; }
    void add_command(const std::string& name, const std::string& usage, Handler handler);
    // Runs one command line; what the socket and stdin channels do with each line.
    nlohmann::json execute(std::string_view line);
    // Told the name of each command that ran, after it ran.
    std::function<void(const std::string& name)> on_command;
    // The control socket, its connections and stdin.
    bool is_command_channel(int fd) const { return fd == listen_fd_ || clients_.count(fd) != 0; }

    // Loads the injected libraries and serves commands until quit, a signal or a respring.
    int run(bool commands_on_stdin);
    void exit_with(int status);

  private:
    // One reader of commands: a control socket connection, or stdin (whose replies go to stdout).
    struct Client {
        uint64_t id{0}; // tells a connection from a later one given the same descriptor
        CommandInput input;
        bool input_ended{false};
        std::string output; // replies the socket has not taken yet, from output_sent on
        size_t output_sent{0};
    };

    void open_control_socket();
    void accept_client();
    void serve_client(int fd);
    void drain();
    void reply(int fd, uint64_t id, const nlohmann::json& answer);
    void flush(int fd);
    void close_client(int fd);
    void close_finished_clients();

    std::string role_;
    std::string bundle_identifier_;
    std::map<std::string, std::pair<std::string, Handler>> commands_;
    std::vector<void*> libraries_;
    int listen_fd_{-1};
    std::string socket_path_;
    std::map<int, Client> clients_;
    uint64_t next_client_id_{1};
    int exit_status_{0};
    bool busy_{false};
    bool script_ended_{false};
};

} // namespace zimtone::sim
