// `zimtone serve` as a person starts it, for the tests: a real launcher process with its real
// host processes, and the ways a test reaches them (the page's HTTP routes, a host's control
// socket beside the launcher).
#pragma once

#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/HostUnderTest.h"

namespace zimtone::testing::serve {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace std::chrono_literals;

// Generous bounds for a loaded machine; they only decide how long a broken build takes to fail.
constexpr auto kStartBound = 90s;
constexpr auto kChangeBound = 30s;

class ServeProcess {
  public:
    explicit ServeProcess(const fs::path& root)
        : log_(root.parent_path() / (root.filename().string() + "-serve.log")) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0)
            return;
        std::string exe = (zimtone::testing::build_bin_dir() / "zimtone").string();
        std::vector<std::string> args{exe, "serve", "--root", root.string(), "--port", "0", "--no-browser"};
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            int err = open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (err >= 0)
                dup2(err, STDERR_FILENO);
            std::vector<char*> argv;
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        from_serve_ = out[0];
        read_port();
    }
    ~ServeProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (from_serve_ >= 0)
            close(from_serve_);
        std::error_code ec;
        fs::remove(log_, ec);
    }

    int port() const { return port_; }
    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }
    std::string errors() const {
        std::ifstream in(log_);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // SIGTERM, then the exit status (-1 if it did not stop within the bound).
    int terminate() {
        kill(pid_, SIGTERM);
        auto deadline = std::chrono::steady_clock::now() + kChangeBound;
        int raw = 0;
        while (waitpid(pid_, &raw, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline)
                return -1;
            std::this_thread::sleep_for(20ms);
        }
        pid_ = -1;
        char chunk[1024];
        for (ssize_t n; (n = read(from_serve_, chunk, sizeof chunk)) > 0;)
            output_.append(chunk, static_cast<size_t>(n));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }

    httplib::Client client() const {
        httplib::Client c("127.0.0.1", port_);
        c.set_read_timeout(20, 0);
        return c;
    }

  private:
    void read_port() {
        const std::string marker = "Zimtone 2 device: http://127.0.0.1:";
        auto deadline = std::chrono::steady_clock::now() + kStartBound;
        while (std::chrono::steady_clock::now() < deadline) {
            if (auto at = output_.find(marker);
                at != std::string::npos && output_.find('/', at + marker.size()) != std::string::npos) {
                port_ = std::atoi(output_.c_str() + at + marker.size());
                return;
            }
            pollfd p{from_serve_, POLLIN, 0};
            if (poll(&p, 1, 200) <= 0)
                continue;
            char chunk[1024];
            ssize_t n = read(from_serve_, chunk, sizeof chunk);
            if (n <= 0)
                return;
            output_.append(chunk, static_cast<size_t>(n));
        }
    }

    fs::path log_;
    pid_t pid_{-1};
    int from_serve_{-1};
    int port_{0};
    std::string output_;
};

inline json get_json(const ServeProcess& serve, const std::string& path) {
    auto res = serve.client().Get(path.c_str());
    json answer = res ? json::parse(res->body, nullptr, false) : json();
    return answer.is_object() ? answer : json::object(); // checks read fields, never a parse failure
}

inline json host_status(const ServeProcess& serve, const std::string& role) {
    auto status = get_json(serve, "/api/status");
    if (status.is_object())
        for (auto& host : status["hosts"])
            if (host["role"] == role)
                return host;
    return json();
}

// Polls the status until the condition holds or the bound passes; answers the last status seen.
inline json wait_for_host(const ServeProcess& serve, const std::string& role,
                          const std::function<bool(const json&)>& condition) {
    auto deadline = std::chrono::steady_clock::now() + kChangeBound;
    json host;
    while (std::chrono::steady_clock::now() < deadline) {
        host = host_status(serve, role);
        if (host.is_object() && condition(host))
            break;
        std::this_thread::sleep_for(50ms);
    }
    return host;
}

inline httplib::Result post_action(const ServeProcess& serve, const json& body,
                                   const httplib::Headers& headers = {}) {
    return serve.client().Post("/api/action", headers, body.dump(), "application/json");
}

// One command straight to a host's control socket, as a second client beside the launcher.
inline json ask_host(const fs::path& root, const std::string& role, const std::string& line) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = (root / "var/run/zimtone-hosts" / (role + ".sock")).string();
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    std::string answer;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        std::string text = line + "\n";
        if (write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size())) {
            char c;
            pollfd p{fd, POLLIN, 0};
            while (answer.find('\n') == std::string::npos && poll(&p, 1, 20000) > 0 && read(fd, &c, 1) == 1)
                answer += c;
        }
    }
    close(fd);
    json parsed = json::parse(answer, nullptr, false);
    return parsed.is_object() ? parsed : json{{"ok", false}, {"error", "no answer from " + role}};
}

inline std::vector<fs::path> sockets_under(const fs::path& root) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_socket(ec))
            found.push_back(it->path());
    return found;
}

} // namespace zimtone::testing::serve
