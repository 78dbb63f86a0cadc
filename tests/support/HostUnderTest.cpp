#include "tests/support/HostUnderTest.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zimtone::testing {

std::filesystem::path build_bin_dir() { return ZIMTONE_BUILD_BIN_DIR; }

HostUnderTest::HostUnderTest(const std::string& role, const std::filesystem::path& root) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        close(in[1]);
        close(out[0]);
        std::string exe = (build_bin_dir() / "zimtone-host").string();
        execl(exe.c_str(), exe.c_str(), role.c_str(), "--stdin", "--root", root.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_host_ = in[1];
    from_host_ = out[0];
    ready_ = nlohmann::json::parse(read_line(), nullptr, false);
}

HostUnderTest::~HostUnderTest() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        finish();
    }
}

std::string HostUnderTest::read_line() {
    // Bounded: a host that hangs fails the test instead of blocking the suite.
    for (int waited = 0; waited < 100; ++waited) {
        if (auto end = buffer_.find('\n'); end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return line;
        }
        pollfd p { from_host_, POLLIN, 0 };
        if (poll(&p, 1, 100) <= 0) continue;
        char chunk[4096];
        ssize_t n = read(from_host_, chunk, sizeof chunk);
        if (n <= 0) return {};
        buffer_.append(chunk, static_cast<size_t>(n));
    }
    return {};
}

nlohmann::json HostUnderTest::command(const std::string& line) {
    std::string text = line + "\n";
    if (write(to_host_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) return nullptr;
    return nlohmann::json::parse(read_line(), nullptr, false);
}

int HostUnderTest::finish() {
    if (pid_ <= 0) return -1;
    if (to_host_ >= 0) close(to_host_);
    to_host_ = -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    if (from_host_ >= 0) close(from_host_);
    from_host_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace zimtone::testing
