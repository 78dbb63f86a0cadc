#include "tests/cli/command_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "tests/support/HostUnderTest.h"

extern char** environ;

namespace zimtone::testing {

namespace {

std::vector<std::string> environment_with_root(const std::filesystem::path& root) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "ZIMTONE_DEVICE_ROOT=", 20) != 0)
            entries.emplace_back(*entry);
    entries.push_back("ZIMTONE_DEVICE_ROOT=" + root.string());
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> out;
    for (auto& word : words)
        out.push_back(word.data());
    out.push_back(nullptr);
    return out;
}

// Reads both pipes until both close or the deadline passes; answers whether they closed.
bool drain(int out_fd, int err_fd, std::string* out, std::string* err, double timeout_seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_seconds);
    pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    std::string* sinks[2] = {out, err};
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        if (poll(fds, 2, static_cast<int>(left.count())) < 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0)
                sinks[i]->append(buffer, static_cast<size_t>(n));
            else if (n == 0 || errno != EINTR)
                fds[i].fd = -1;
        }
    }
    return true;
}

} // namespace

CommandRun run_zimtone(const std::vector<std::string>& arguments, const std::filesystem::path& default_root,
                       double timeout_seconds) {
    CommandRun run;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return run;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<std::string> words{(build_bin_dir() / "zimtone").string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = environment_with_root(default_root);
    auto argv = pointers(words);
    auto envp = pointers(environment);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (pid > 0) {
        run.timed_out = !drain(out[0], err[0], &run.out, &run.err, timeout_seconds);
        if (run.timed_out)
            kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!run.timed_out && WIFEXITED(status))
            run.status = WEXITSTATUS(status);
    }
    close(out[0]);
    close(err[0]);
    return run;
}

} // namespace zimtone::testing
