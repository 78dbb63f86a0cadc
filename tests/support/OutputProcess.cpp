#include "tests/support/OutputProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/foundation/RunLoop.h"

extern char** environ;

namespace zimtone::testing {

using platform::foundation::RunLoop;

OutputProcess::OutputProcess(const std::string& program, const std::vector<std::string>& arguments) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_fd_ = fds[0];
    fcntl(out_fd_, F_SETFL, O_NONBLOCK);
    RunLoop::main().add_source(out_fd_, [this] { read_output(); });
}

OutputProcess::~OutputProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    close_output();
}

bool OutputProcess::alive() const {
    return pid_ > 0 && kill(pid_, 0) == 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

bool OutputProcess::wait_for_output(const std::string& text, double timeout_seconds) {
    return RunLoop::main().run_until([&] { return output_.find(text) != std::string::npos; },
                                     timeout_seconds);
}

void OutputProcess::send_signal(int signal) const {
    if (pid_ > 0)
        kill(pid_, signal);
}

int OutputProcess::wait_for_exit(double timeout_seconds) {
    if (!RunLoop::main().run_until([&] { return out_fd_ < 0; }, timeout_seconds))
        kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
}

void OutputProcess::read_output() {
    char buffer[256];
    ssize_t n;
    while ((n = read(out_fd_, buffer, sizeof buffer)) > 0)
        output_.append(buffer, static_cast<size_t>(n));
    if (n == 0)
        close_output();
}

void OutputProcess::close_output() {
    if (out_fd_ < 0)
        return;
    RunLoop::main().remove_source(out_fd_);
    close(out_fd_);
    out_fd_ = -1;
}

} // namespace zimtone::testing
