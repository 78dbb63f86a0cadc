#include "sim/cli/Serve.h"

#include <httplib.h>
#include <netinet/in.h>
#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"
#include "sim/cli/DeviceSetup.h"
#include "sim/cli/ServeActions.h"
#include "sim/cli/ServeAssets.h"
#include "sim/cli/ServeSecurity.h"
#include "sim/hosts/CommandLine.h"
#include "sim/launcher/FrameFeed.h"
#include "sim/launcher/HostSupervisor.h"

namespace zimtone::cli {

namespace fs = std::filesystem;
using nlohmann::json;
using sim::FrameFeed;
using sim::HostSupervisor;

namespace {

constexpr const char* kSettingsUnavailable = "Settings app not available";
// Frames are asked for this often while a page watches: twice per cycling step at 2 Hz.
constexpr std::chrono::milliseconds kFramePeriod { 100 };
// A page's frame request waits this long for a change before it is answered "no change".
constexpr std::chrono::milliseconds kFrameWait { 1000 };

// A free port on loopback for the Settings app's own page.
int free_loopback_port() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in address {};
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

void send_json(httplib::Response& res, int status, const json& body) {
    res.status = status;
    res.set_content(body.dump(), "application/json");
}

void add_page_headers(httplib::Response& res, int settings_port) {
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("Cache-Control", "no-store");
    res.set_header("Content-Security-Policy",
                   "default-src 'self'; img-src 'self' blob:; frame-src http://127.0.0.1:" +
                       std::to_string(settings_port) + "; frame-ancestors 'none'; base-uri 'none'; form-action 'none'");
}

// The body of an error the server itself raised before any route ran.
std::string error_text(int status) {
    switch (status) {
    case 404: return "not found";
    case 413: return "the request is too large";
    case 414: return "the address is too long";
    default: return "the request could not be served (HTTP " + std::to_string(status) + ")";
    }
}

void open_browser(const std::string& url) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "xdg-open";
    std::vector<char*> argv { program.data(), const_cast<char*>(url.c_str()), nullptr };
    pid_t pid = 0;
    // No browser on this machine is fine: the URL is printed anyway.
    if (posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv.data(), environ) == 0) {
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    }
    posix_spawn_file_actions_destroy(&actions);
}

// The web side of the launcher: routes over the supervisor and the frame feed.
class DevicePage {
public:
    DevicePage(HostSupervisor& hosts, FrameFeed& frames, int settings_port)
        : hosts_(hosts), frames_(frames), settings_port_(settings_port) {}

    void install(httplib::Server& server, const int& port) {
        server.set_payload_max_length(kMaxRequestBody);
        server.set_pre_routing_handler([&port](const httplib::Request& req, httplib::Response& res) {
            RequestFacts facts { req.method,
                                 req.path,
                                 req.remote_addr,
                                 req.get_header_value("Host"),
                                 req.get_header_value("Origin"),
                                 req.get_header_value("Sec-Fetch-Site"),
                                 req.get_header_value("Content-Type") };
            if (auto refusal = refuse_request(facts, port)) {
                send_json(res, refusal->status, { { "error", refusal->message } });
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
        server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
            if (!res.body.empty()) return;
            send_json(res, res.status, { { "error", error_text(res.status) } });
        });
        server.Get(R"(/|/app\.js|/style\.css)", [this](const httplib::Request& req, httplib::Response& res) {
            const PageAsset* asset = find_page_asset(req.path);
            add_page_headers(res, settings_port_);
            res.set_content(std::string(asset->body), std::string(asset->content_type) + "; charset=utf-8");
        });
        server.Get("/api/status", [this](const httplib::Request&, httplib::Response& res) { status(res); });
        server.Get("/api/apps", [this](const httplib::Request&, httplib::Response& res) {
            auto answer = hosts_.command("springboard", "apps");
            send_json(res, answer.value("ok", false) ? 200 : 502, answer);
        });
        server.Get("/api/frame", [this](const httplib::Request& req, httplib::Response& res) { frame(req, res); });
        server.Post("/api/action", [this](const httplib::Request& req, httplib::Response& res) { action(req, res); });
    }

private:
    void status(httplib::Response& res) {
        json hosts = hosts_.status();
        bool settings_up = hosts_.state("settings") == sim::HostState::Up;
        send_json(res, 200,
                  { { "hosts", hosts },
                    { "screen", frames_.showing() },
                    { "settings_url", settings_up ? json("http://127.0.0.1:" + std::to_string(settings_port_) + "/")
                                                  : json(nullptr) },
                    { "settings_message", settings_up ? "" : kSettingsUnavailable } });
    }

    void frame(const httplib::Request& req, httplib::Response& res) {
        uint64_t since = 0;
        if (req.has_param("since")) {
            const std::string text = req.get_param_value("since");
            if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos)
                return send_json(res, 400, { { "error", "'since' must be a frame number" } });
            since = std::stoull(text);
        }
        auto frame = frames_.wait_for_frame(since, kFrameWait);
        res.set_header("X-Frame-Sequence", std::to_string(frame.sequence));
        res.set_header("X-Frame-Role", frame.role);
        res.set_header("Cache-Control", "no-store");
        if (frame.sequence == since || frame.sequence == 0) {
            res.status = 204;
            return;
        }
        if (frame.png.empty())
            return send_json(res, 503, { { "error", frame.error }, { "role", frame.role }, { "sequence", frame.sequence } });
        res.set_content(frame.png, "image/png");
    }

    void action(const httplib::Request& req, httplib::Response& res) {
        json request = json::parse(req.body, nullptr, false);
        if (request.is_discarded()) return send_json(res, 400, { { "error", "the body is not JSON" } });
        auto result = plan_action(request);
        if (!result.plan) return send_json(res, 400, { { "error", result.error } });
        json answers = json::array();
        for (const auto& command : result.plan->commands) {
            auto answer = hosts_.command(command.role, command.line);
            answers.push_back(answer);
            if (!answer.value("ok", false)) {
                frames_.poke();
                return send_json(res, 502, { { "error", answer.value("error", "the host refused") }, { "answers", answers } });
            }
        }
        if (result.plan->notification)
            platform::foundation::CFNotificationCenterPostNotification(
                platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(), result.plan->notification->c_str(),
                nullptr, nullptr, true);
        if (result.plan->show) frames_.show(*result.plan->show);
        frames_.poke();
        send_json(res, 200, { { "ok", true }, { "answers", answers } });
    }

    HostSupervisor& hosts_;
    FrameFeed& frames_;
    int settings_port_;
};

} // namespace

int run_serve(const ServeOptions& options) {
    // Signals are taken by sigwait below; every thread started from here inherits the mask.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN); // a host that died while spoken to must not take us with it

    std::string error;
    if (!set_up_device("zimtone", &error)) {
        std::cerr << "zimtone serve: " << error << "\n";
        return 1;
    }
    fs::path root = platform::foundation::device_root();

    httplib::Server server;
    int port = options.port;
    if (port == 0)
        port = server.bind_to_any_port("127.0.0.1");
    else if (!server.bind_to_port("127.0.0.1", port))
        port = -1;
    if (port <= 0) {
        std::cerr << "zimtone serve: cannot listen on 127.0.0.1:" << options.port << " (is the port in use?)\n";
        return 1;
    }

    std::string scratch_pattern = (fs::temp_directory_path() / "zimtone-serve-XXXXXX").string();
    if (!mkdtemp(scratch_pattern.data())) {
        std::cerr << "zimtone serve: cannot create a scratch folder in " << fs::temp_directory_path() << "\n";
        return 1;
    }
    fs::path scratch = scratch_pattern;

    int settings_port = free_loopback_port();
    fs::path host_exe = sim::executable_dir() / "zimtone-host";
    HostSupervisor hosts;
    hosts.on_report = [](const std::string& line) { std::cerr << "zimtone serve: " << line << std::endl; };
    hosts.add({ host_exe, "springboard", root, false, {} }, { {}, true }, "the home screen did not start");
    hosts.add({ host_exe, "messages", root, false, {} }, { {}, true }, "the Messages extension did not start");
    hosts.add({ host_exe, "settings", root, false, {} }, { { "--port", std::to_string(settings_port) }, true },
              kSettingsUnavailable);
    std::cout << "Starting the device in " << root.string() << " ..." << std::endl;
    hosts.start_all();
    for (auto& host : hosts.status())
        std::cout << "  " << host["role"].get<std::string>() << ": " << host["state"].get<std::string>()
                  << (host["detail"].get<std::string>().empty() ? "" : " (" + host["detail"].get<std::string>() + ")")
                  << std::endl;

    FrameFeed frames(
        [&hosts](const std::string& role, const fs::path& path) -> std::string {
            auto answer = hosts.command(role, "screenshot " + sim::quote_word(path.string()));
            return answer.value("ok", false) ? "" : answer.value("error", "the screen could not be drawn");
        },
        scratch, kFramePeriod);

    std::atomic<bool> stopping { false };
    std::thread monitor([&] {
        while (!stopping) {
            auto before = hosts.status();
            hosts.check();
            if (hosts.status() != before) frames.poke();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });

    DevicePage page(hosts, frames, settings_port);
    page.install(server, port);
    std::thread listener([&server] { server.listen_after_bind(); });

    std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    std::cout << "Zimtone 2 device: " << url << "\nPress Ctrl-C to stop." << std::endl;
    if (options.open_browser) open_browser(url);

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
    fs::remove_all(scratch, ec);
    std::cout << "Stopped." << std::endl;
    return 0;
}

} // namespace zimtone::cli
