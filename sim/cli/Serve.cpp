#include "sim/cli/Serve.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <thread>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/RuntimeFolder.h"
#include "sim/cli/DeviceSetup.h"
#include "sim/cli/ServeLock.h"
#include "sim/cli/ServePage.h"
#include "sim/hosts/CommandLine.h"
#include "sim/hosts/HostRoleName.h"
#include "sim/http/PageServer.h"
#include "sim/launcher/FrameFeed.h"
#include "sim/launcher/HostSupervisor.h"

namespace zimtone::cli {

namespace fs = std::filesystem;
using sim::FrameFeed;
using sim::HostRoleName;
using sim::HostSupervisor;
using sim::role_name;

namespace {

// The hosts are asked this often whether their screen changed while a page watches; the question
// is cheap and a host draws only when it did, so a change is on the page within one period and
// one render (about 20 ms), and every step of 2 Hz cycling shows.
constexpr std::chrono::milliseconds kFramePeriod{40};
// How soon a host that died or came back shows on the page's pills.
constexpr std::chrono::milliseconds kHostCheckPeriod{100};

// A free port on loopback for the Settings app's own page.
int free_loopback_port() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

void open_browser(const std::string& url) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "xdg-open";
    std::vector<char*> argv{program.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    // No browser on this machine is fine: the URL is printed anyway.
    if (posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv.data(), environ) == 0) {
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    }
    posix_spawn_file_actions_destroy(&actions);
}

// Signals are taken by sigwait at the end; every thread started after this inherits the mask.
sigset_t block_stop_signals() {
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN); // a host that died while spoken to must not take us with it
    return stop_signals;
}

// Frames are drawn under the device root, where the hosts may write and nobody else may look.
platform::foundation::Result<fs::path> make_frames_folder() {
    const std::string frames_folder = "/var/run/zimtone-frames-" + std::to_string(getpid());
    auto opened = platform::foundation::open_runtime_folder(frames_folder);
    if (!opened)
        return platform::foundation::Failure{opened.error()};
    ::close(*opened);
    return platform::foundation::resolve_device_path(frames_folder);
}

void add_device_hosts(HostSupervisor& hosts, const fs::path& root, int page_port, int settings_port) {
    fs::path host_exe = sim::executable_dir() / "zimtone-host";
    // The page shows a settings change at once: these hosts open their surfaces again after one.
    const sim::HostLaunchExtras following{.arguments = {"--follow-settings"}, .own_process_group = true};
    hosts.add({.executable = host_exe, .role = role_name(HostRoleName::springboard), .device_root = root},
              following, "the home screen did not start");
    hosts.add({.executable = host_exe, .role = role_name(HostRoleName::messages), .device_root = root},
              following, "the Messages extension did not start");
    // The Settings app's page refuses frames from anyone but this page.
    hosts.add({.executable = host_exe,
               .role = role_name(HostRoleName::settings),
               .device_root = root,
               .environment = {{"ZIMTONE_SETTINGS_FRAMED_BY", std::to_string(page_port)}}},
              {.arguments = {"--port", std::to_string(settings_port)}, .own_process_group = true},
              kSettingsUnavailable);
}

void report_hosts(const HostSupervisor& hosts) {
    for (auto& host : hosts.status()) {
        const std::string detail = host["detail"].get<std::string>();
        std::cout << "  " << host["role"].get<std::string>() << ": " << host["state"].get<std::string>()
                  << (detail.empty() ? "" : " (" + detail + ")") << std::endl;
    }
}

// The screen of the host on show, drawn only when it changed since the last frame.
FrameFeed::Capture capture_from(HostSupervisor& hosts) {
    return [&hosts](const std::string& role, const fs::path& path, uint64_t since) {
        auto answer =
            hosts.command(role, "frame " + sim::quote_word(path.string()) + " " + std::to_string(since));
        FrameFeed::CaptureResult result;
        if (!answer.value("ok", false)) {
            result.error = answer.value("error", "the screen could not be drawn");
            return result;
        }
        result.changed = answer.value("changed", true);
        result.generation = answer.value("generation", uint64_t{0});
        return result;
    };
}

} // namespace

int run_serve(const ServeOptions& options) {
    sigset_t stop_signals = block_stop_signals();

    // A port that is taken is refused before the device is touched.
    http::PageServer server;
    int port = server.bind_loopback(options.port);
    if (port <= 0) {
        std::cerr << "zimtone serve: cannot listen on 127.0.0.1:" << options.port
                  << " (is the port in use?)\n";
        return 1;
    }

    // Taken before the device is touched, and held until the end.
    auto lock = ServeLock::acquire();
    if (!lock) {
        std::cerr << "zimtone serve: " << lock.error() << "\n";
        return 1;
    }
    if (auto set_up = set_up_device("zimtone"); !set_up) {
        std::cerr << "zimtone serve: " << set_up.error() << "\n";
        return 1;
    }
    fs::path root = platform::foundation::device_root();
    auto scratch = make_frames_folder();
    if (!scratch) {
        std::cerr << "zimtone serve: cannot create a folder for the screen's frames: " << scratch.error()
                  << "\n";
        return 1;
    }

    int settings_port = free_loopback_port();
    HostSupervisor hosts;
    hosts.on_report = [](const std::string& line) { std::cerr << "zimtone serve: " << line << std::endl; };
    add_device_hosts(hosts, root, port, settings_port);
    std::cout << "Starting the device in " << root.string() << " ..." << std::endl;
    hosts.start_all();
    report_hosts(hosts);

    FrameFeed frames(capture_from(hosts), *scratch, kFramePeriod);
    std::atomic<bool> stopping{false};
    std::thread monitor([&] {
        while (!stopping) {
            auto before = hosts.status();
            hosts.check();
            if (hosts.status() != before)
                frames.poke();
            std::this_thread::sleep_for(kHostCheckPeriod);
        }
    });

    ServePage page(hosts, frames, settings_port);
    page.install(server);
    std::thread listener([&server] { server.listen_after_bind(); });

    std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    std::cout << "Zimtone 2 device: " << url << "\nPress Ctrl-C to stop." << std::endl;
    if (options.open_browser)
        open_browser(url);

    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    std::cout << "Stopping the device ..." << std::endl;
    server.stop();
    listener.join();
    frames.stop();
    stopping = true;
    monitor.join();
    hosts.stop_all();
    std::error_code ec;
    fs::remove_all(*scratch, ec);
    std::cout << "Stopped." << std::endl;
    return 0;
}

} // namespace zimtone::cli
