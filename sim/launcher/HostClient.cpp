#include "sim/launcher/HostClient.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace zimtone::sim {

namespace {

// A host that is gone must not take its launcher with it: SIGPIPE is held back for the write, and
// one it raised is taken off this thread's pending set before the mask is restored.
bool write_all_without_sigpipe(int fd, const std::string& text) {
    sigset_t pipe_signal, previous, pending;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, &previous);
    sigpending(&pending);
    const bool already_pending = sigismember(&pending, SIGPIPE) == 1;
    bool written = true;
    for (size_t done = 0; written && done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        if (written)
            done += static_cast<size_t>(n);
        else if (errno == EPIPE && !already_pending) {
            const timespec now{0, 0};
            sigtimedwait(&pipe_signal, nullptr, &now);
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return written;
}

} // namespace

std::filesystem::path executable_dir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

HostClient::HostClient(const HostLaunch& launch, const HostLaunchExtras& extras) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0)
        return;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    std::vector<std::string> args{launch.executable.string(), launch.role, "--stdin", "--root",
                                  launch.device_root.string()};
    if (launch.virtual_clock)
        args.push_back("--virtual-clock");
    args.insert(args.end(), extras.arguments.begin(), extras.arguments.end());
    // Everything the child needs is built before the fork: a launcher with threads may fork while
    // another thread holds the allocator, so the child calls only async-signal-safe functions.
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_strings;
    for (char** e = environ; *e; ++e) {
        std::string_view entry(*e);
        auto name = entry.substr(0, entry.find('='));
        if (!launch.environment.contains(std::string(name)))
            env_strings.emplace_back(entry);
    }
    for (auto& [k, v] : launch.environment)
        env_strings.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& e : env_strings)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        // A launcher that waits for signals with them blocked must not hand that mask on.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (extras.own_process_group)
            setpgid(0, 0);
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_host_ = in[1];
    from_host_ = out[0];
    if (pid_ < 0)
        return;
    ready_ = nlohmann::json::parse(read_line(20), nullptr, false);
    if (!ready_.is_object())
        ready_ = nullptr;
}

HostClient::~HostClient() {
    if (pid_ > 0)
        kill(pid_, SIGTERM);
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
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0 || from_host_ < 0)
            return {};
        pollfd p{from_host_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char chunk[8192];
        ssize_t n = read(from_host_, chunk, sizeof chunk);
        if (n <= 0)
            return {};
        buffer_.append(chunk, static_cast<size_t>(n));
    }
}

nlohmann::json HostClient::command(const std::string& line, double timeout_seconds) {
    if (to_host_ < 0)
        return nullptr;
    if (!write_all_without_sigpipe(to_host_, line + "\n"))
        return nullptr;
    auto reply = nlohmann::json::parse(read_line(timeout_seconds), nullptr, false);
    return reply.is_discarded() ? nlohmann::json(nullptr) : reply;
}

std::optional<int> HostClient::poll_exit() {
    if (pid_ <= 0)
        return std::nullopt;
    int raw = 0;
    if (waitpid(pid_, &raw, WNOHANG) != pid_)
        return std::nullopt;
    pid_ = -1;
    finish();
    return raw;
}

int HostClient::stop(double grace_seconds) {
    if (pid_ <= 0) {
        finish();
        return -1;
    }
    kill(pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(grace_seconds);
    int raw = 0;
    pid_t done = 0;
    while ((done = waitpid(pid_, &raw, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        usleep(10000);
    if (done == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &raw, 0);
    }
    pid_ = -1;
    finish();
    return raw;
}

std::string describe_wait_status(int raw) {
    if (WIFEXITED(raw))
        return "exited with status " + std::to_string(WEXITSTATUS(raw));
    if (WIFSIGNALED(raw)) {
        const char* name = strsignal(WTERMSIG(raw));
        return "was killed by signal " + std::to_string(WTERMSIG(raw)) +
               (name ? std::string(" (") + name + ")" : "");
    }
    return "stopped";
}

int HostClient::finish() {
    if (to_host_ >= 0)
        close(to_host_);
    to_host_ = -1;
    int status = -1;
    if (pid_ > 0) {
        int raw = 0;
        waitpid(pid_, &raw, 0);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }
    pid_ = -1;
    if (from_host_ >= 0)
        close(from_host_);
    from_host_ = -1;
    return status;
}

} // namespace zimtone::sim
