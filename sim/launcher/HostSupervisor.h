// Keeps the device's host processes running for the launcher: starts each one, serialises the
// commands sent to it, starts again a host that exits for a respring, and records how any other
// host ended so the launcher can report it. Thread-safe: the web server's threads send commands
// while the launcher's monitor thread watches for exits.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/launcher/HostClient.h"

namespace zimtone::sim {

enum class HostState { Starting, Up, Restarting, Exited, Unavailable, Stopped };
const char* host_state_name(HostState state);

class HostSupervisor {
  public:
    // Called (from the monitor thread) with a line for a person when a host ends or restarts.
    std::function<void(const std::string&)> on_report;

    // Adds a host; `unavailable_message` is what the status says when it does not start at all.
    void add(const HostLaunch& launch, const HostLaunchExtras& extras, std::string unavailable_message);
    // Starts every host that was added, in order.
    void start_all();
    // One command line to the host of `role`; {"ok":false,"error":...} when it is not up.
    nlohmann::json command(const std::string& role, const std::string& line, double timeout_seconds = 10);
    // Reaps hosts that ended: a respring is started again, anything else is recorded as exited.
    void check();
    // Starts again the host of `role` when it is not running (it ended, or never started);
    // answers whether it is up afterwards.
    bool revive(const std::string& role);
    // Stops every host, SIGTERM first and SIGKILL after the grace period, and removes any
    // control socket a killed host could not remove itself.
    void stop_all(double grace_seconds = 3);
    // [{"role","state","pid","restarts","detail"}...] in the order the hosts were added.
    nlohmann::json status() const;
    HostState state(const std::string& role) const;

  private:
    struct Slot {
        HostLaunch launch;
        HostLaunchExtras extras;
        std::string unavailable_message;
        std::mutex io; // held while the client is used or replaced
        std::unique_ptr<HostClient> client;
        // Guarded by the supervisor's state lock.
        HostState state{HostState::Starting};
        pid_t pid{-1};
        int restarts{0};
        std::string detail;
    };
    Slot* find(const std::string& role) const;
    void start(Slot& slot, bool restart);
    // With the slot's io lock held: the raw wait status of a host that ended, now recorded as
    // exited (or restarting, for a respring) with its client gone; nullopt while it runs.
    std::optional<int> reap(Slot& slot);
    void report(const std::string& line);
    // What a host that was killed could not remove itself: its control socket and its
    // notification socket ("<pid>-<random>.sock"). Harmless after a clean exit.
    static void remove_leftover_sockets(const HostLaunch& launch, pid_t pid);

    std::vector<std::unique_ptr<Slot>> slots_;
    mutable std::mutex state_lock_;
};

} // namespace zimtone::sim
