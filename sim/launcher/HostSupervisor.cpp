#include "sim/launcher/HostSupervisor.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>

#include "sim/hosts/HostProcess.h"

namespace zimtone::sim {

namespace {
// Where every process of the device keeps its Darwin notification socket.
constexpr const char* kNotifySocketsDir = "/var/run/zimtone-notify";
} // namespace

const char* host_state_name(HostState state) {
    switch (state) {
    case HostState::Starting:
        return "starting";
    case HostState::Up:
        return "up";
    case HostState::Restarting:
        return "restarting";
    case HostState::Exited:
        return "exited";
    case HostState::Unavailable:
        return "unavailable";
    case HostState::Stopped:
        return "stopped";
    }
    return "unknown";
}

void HostSupervisor::add(const HostLaunch& launch, const HostLaunchExtras& extras,
                         std::string unavailable_message) {
    auto slot = std::make_unique<Slot>();
    slot->launch = launch;
    slot->extras = extras;
    slot->unavailable_message = std::move(unavailable_message);
    slots_.push_back(std::move(slot));
}

void HostSupervisor::start_all() {
    for (auto& slot : slots_) {
        std::lock_guard io(slot->io);
        start(*slot, false);
    }
}

// Called with the slot's io lock held.
void HostSupervisor::start(Slot& slot, bool restart) {
    slot.client = std::make_unique<HostClient>(slot.launch, slot.extras);
    std::lock_guard lock(state_lock_);
    if (slot.client->ready().is_object()) {
        slot.state = HostState::Up;
        slot.pid = slot.client->pid();
        slot.detail.clear();
        if (restart)
            ++slot.restarts;
        return;
    }
    // A host that never said it was ready is gone or useless: stop it and say why.
    slot.client->stop(1);
    slot.client.reset();
    slot.pid = -1;
    slot.state = restart ? HostState::Exited : HostState::Unavailable;
    slot.detail = restart ? "did not start again" : slot.unavailable_message;
}

HostSupervisor::Slot* HostSupervisor::find(const std::string& role) const {
    for (auto& slot : slots_)
        if (slot->launch.role == role)
            return slot.get();
    return nullptr;
}

nlohmann::json HostSupervisor::command(const std::string& role, const std::string& line,
                                       double timeout_seconds) {
    Slot* slot = find(role);
    if (!slot)
        return {{"ok", false}, {"error", "no host has the role '" + role + "'"}};
    std::lock_guard io(slot->io);
    if (!slot->client || !slot->client->running())
        return {{"ok", false}, {"error", "the " + role + " host is " + host_state_name(state(role))}};
    auto answer = slot->client->command(line, timeout_seconds);
    if (answer.is_object())
        return answer;
    return {{"ok", false}, {"error", "the " + role + " host did not answer"}};
}

std::optional<int> HostSupervisor::reap(Slot& slot) {
    if (!slot.client)
        return std::nullopt;
    pid_t pid = slot.client->pid();
    auto raw = slot.client->poll_exit();
    if (!raw)
        return std::nullopt;
    slot.client.reset();
    remove_leftover_sockets(slot.launch, pid);
    bool respring = WIFEXITED(*raw) && WEXITSTATUS(*raw) == kRespringExitStatus;
    {
        std::lock_guard lock(state_lock_);
        slot.pid = -1;
        slot.state = respring ? HostState::Restarting : HostState::Exited;
        slot.detail = respring ? "restarting after a respring" : describe_wait_status(*raw);
    }
    if (!respring)
        report("the " + slot.launch.role + " host (pid " + std::to_string(pid) + ") " +
               describe_wait_status(*raw));
    return raw;
}

void HostSupervisor::check() {
    for (auto& slot : slots_) {
        std::lock_guard io(slot->io);
        auto raw = reap(*slot);
        if (!raw || !(WIFEXITED(*raw) && WEXITSTATUS(*raw) == kRespringExitStatus))
            continue;
        const std::string& role = slot->launch.role;
        report("the " + role + " host asked for a respring; starting it again");
        start(*slot, true);
        if (state(role) != HostState::Up)
            report("the " + role + " host did not start again after the respring");
    }
}

bool HostSupervisor::revive(const std::string& role) {
    Slot* slot = find(role);
    if (!slot)
        return false;
    std::lock_guard io(slot->io);
    // A host that ended a moment ago may not have been reaped by check() yet.
    if (slot->client && !reap(*slot))
        return true;
    report("starting the " + role + " host again");
    start(*slot, true);
    if (state(role) == HostState::Up)
        return true;
    report("the " + role + " host did not start again");
    return false;
}

void HostSupervisor::stop_all(double grace_seconds) {
    for (auto it = slots_.rbegin(); it != slots_.rend(); ++it) {
        Slot& slot = **it;
        std::lock_guard io(slot.io);
        if (slot.client) {
            pid_t pid = slot.client->pid();
            slot.client->stop(grace_seconds);
            slot.client.reset();
            remove_leftover_sockets(slot.launch, pid);
        }
        std::lock_guard lock(state_lock_);
        if (slot.state == HostState::Up || slot.state == HostState::Restarting)
            slot.state = HostState::Stopped;
        slot.pid = -1;
    }
}

nlohmann::json HostSupervisor::status() const {
    std::lock_guard lock(state_lock_);
    nlohmann::json list = nlohmann::json::array();
    for (auto& slot : slots_)
        list.push_back({{"role", slot->launch.role},
                        {"state", host_state_name(slot->state)},
                        {"pid", slot->pid > 0 ? nlohmann::json(slot->pid) : nlohmann::json(nullptr)},
                        {"restarts", slot->restarts},
                        {"detail", slot->detail}});
    return list;
}

HostState HostSupervisor::state(const std::string& role) const {
    std::lock_guard lock(state_lock_);
    Slot* slot = find(role);
    return slot ? slot->state : HostState::Unavailable;
}

void HostSupervisor::remove_leftover_sockets(const HostLaunch& launch, pid_t pid) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::remove(launch.device_root / fs::path(kHostSocketsDir).relative_path() / (launch.role + ".sock"), ec);
    std::string prefix = std::to_string(pid) + "-";
    fs::path notify_dir = launch.device_root / fs::path(kNotifySocketsDir).relative_path();
    for (fs::directory_iterator it(notify_dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.starts_with(prefix) && name.ends_with(".sock") && it->is_socket(ec))
            fs::remove(it->path(), ec);
    }
}

void HostSupervisor::report(const std::string& line) {
    if (on_report)
        on_report(line);
}

} // namespace zimtone::sim
