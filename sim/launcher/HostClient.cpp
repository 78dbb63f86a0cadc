#include "sim/launcher/HostClient.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace zimtone::sim {

std::filesystem::path executable_dir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

HostClient::HostClient(const HostLaunch& launch) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0) return;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    std::vector<std::string> args { launch.executable.string(), launch.role, "--stdin", "--root",
                                    launch.device_root.string() };
    if (launch.virtual_clock) args.push_back("--virtual-clock");
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        for (auto& [k, v] : launch.environment) setenv(k.c_str(), v.c_str(), 1);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_host_ = in[1];
    from_host_ = out[0];
    if (pid_ < 0) return;
    ready_ = nlohmann::json::parse(read_line(20), nullptr, false);
    if (!ready_.is_object()) ready_ = nullptr;
}

HostClient::~HostClient() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    finish();
}

std::string HostClient::read_line(double timeout_seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_seconds);
    while (true) {
        if (auto end = buffer_.find('\n'); end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || from_host_ < 0) return {};
        pollfd p { from_host_, POLLIN, 0 };
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char chunk[8192];
        ssize_t n = read(from_host_, chunk, sizeof chunk);
        if (n <= 0) return {};
        buffer_.append(chunk, static_cast<size_t>(n));
    }
}

nlohmann::json HostClient::command(const std::string& line, double timeout_seconds) {
    if (to_host_ < 0) return nullptr;
    std::string text = line + "\n";
    if (write(to_host_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) return nullptr;
    auto reply = nlohmann::json::parse(read_line(timeout_seconds), nullptr, false);
    return reply.is_discarded() ? nlohmann::json(nullptr) : reply;
}

int HostClient::finish() {
    if (to_host_ >= 0) close(to_host_);
    to_host_ = -1;
    int status = -1;
    if (pid_ > 0) {
        int raw = 0;
        waitpid(pid_, &raw, 0);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }
    pid_ = -1;
    if (from_host_ >= 0) close(from_host_);
    from_host_ = -1;
    return status;
}

} // namespace zimtone::sim
