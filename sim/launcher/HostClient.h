// Starts a host process and drives it through its stdin command channel, one JSON reply per
// command line. Used by the demo, the launcher and the tests.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zimtone::sim {

struct HostLaunch {
    std::filesystem::path executable{}; // zimtone-host
    std::string role{};                 // springboard | messages | settings
    std::filesystem::path device_root{};
    bool virtual_clock{false};
    std::map<std::string, std::string> environment{}; // added to the inherited one
};

// What a long-running launcher adds to a plain launch.
struct HostLaunchExtras {
    std::vector<std::string> arguments{}; // after the standard ones, e.g. --port N
    // A host in its own process group does not get the terminal's Ctrl-C: its launcher stops it.
    bool own_process_group{false};
};

class HostClient {
  public:
    explicit HostClient(const HostLaunch& launch, const HostLaunchExtras& extras = {});
    ~HostClient();
    HostClient(const HostClient&) = delete;
    HostClient& operator=(const HostClient&) = delete;

    // The host's ready line; null when it did not start.
    const nlohmann::json& ready() const { return ready_; }
    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // Sends one command line; null when the host is gone or did not answer within the timeout.
    nlohmann::json command(const std::string& line, double timeout_seconds = 10);
    // Closes stdin and waits for the exit status.
    int finish();
    // Reaps the host if it has exited, without waiting: its raw wait status, else nullopt.
    std::optional<int> poll_exit();
    // Asks the host to stop with SIGTERM, and kills it when it has not stopped after the grace
    // period. Answers the raw wait status (-1 when it was not running).
    int stop(double grace_seconds);

  private:
    std::string read_line(double timeout_seconds);
    pid_t pid_{-1};
    int to_host_{-1};
    int from_host_{-1};
    std::string buffer_;
    nlohmann::json ready_;
};

// "exited with status 3", "was killed by signal 9 (Killed)": a raw wait status for a person.
std::string describe_wait_status(int raw);

// The folder of the running executable (zimtone and zimtone-host live side by side).
std::filesystem::path executable_dir();

} // namespace zimtone::sim
