// `zimtone serve` as a person starts it: a real launcher process with its real host processes,
// reached over HTTP the way the page reaches it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include <nlohmann/json.hpp>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace std::chrono_literals;

// Generous bounds for a loaded machine; they only decide how long a broken build takes to fail.
constexpr auto kStartBound = 90s;
constexpr auto kChangeBound = 30s;

class ServeProcess {
public:
    explicit ServeProcess(const fs::path& root) : log_(root.parent_path() / (root.filename().string() + "-serve.log")) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) return;
        std::string exe = (zimtone::testing::build_bin_dir() / "zimtone").string();
        std::vector<std::string> args { exe, "serve", "--root", root.string(), "--port", "0", "--no-browser" };
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            int err = open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (err >= 0) dup2(err, STDERR_FILENO);
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
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
        if (from_serve_ >= 0) close(from_serve_);
        std::error_code ec;
        fs::remove(log_, ec);
    }

    int port() const { return port_; }
    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }
    std::string errors() const {
        std::ifstream in(log_);
        return { std::istreambuf_iterator<char>(in), {} };
    }
    // SIGTERM, then the exit status (-1 if it did not stop within the bound).
    int terminate() {
        kill(pid_, SIGTERM);
        auto deadline = std::chrono::steady_clock::now() + kChangeBound;
        int raw = 0;
        while (waitpid(pid_, &raw, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) return -1;
            std::this_thread::sleep_for(20ms);
        }
        pid_ = -1;
        char chunk[1024];
        for (ssize_t n; (n = read(from_serve_, chunk, sizeof chunk)) > 0;) output_.append(chunk, static_cast<size_t>(n));
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
            if (auto at = output_.find(marker); at != std::string::npos && output_.find('/', at + marker.size()) != std::string::npos) {
                port_ = std::atoi(output_.c_str() + at + marker.size());
                return;
            }
            pollfd p { from_serve_, POLLIN, 0 };
            if (poll(&p, 1, 200) <= 0) continue;
            char chunk[1024];
            ssize_t n = read(from_serve_, chunk, sizeof chunk);
            if (n <= 0) return;
            output_.append(chunk, static_cast<size_t>(n));
        }
    }

    fs::path log_;
    pid_t pid_ { -1 };
    int from_serve_ { -1 };
    int port_ { 0 };
    std::string output_;
};

json get_json(const ServeProcess& serve, const std::string& path) {
    auto res = serve.client().Get(path.c_str());
    json answer = res ? json::parse(res->body, nullptr, false) : json();
    return answer.is_object() ? answer : json::object(); // checks read fields, never a parse failure
}

json host_status(const ServeProcess& serve, const std::string& role) {
    auto status = get_json(serve, "/api/status");
    if (status.is_object())
        for (auto& host : status["hosts"])
            if (host["role"] == role) return host;
    return json();
}

// Polls the status until the condition holds or the bound passes; answers the last status seen.
json wait_for_host(const ServeProcess& serve, const std::string& role, const std::function<bool(const json&)>& condition) {
    auto deadline = std::chrono::steady_clock::now() + kChangeBound;
    json host;
    while (std::chrono::steady_clock::now() < deadline) {
        host = host_status(serve, role);
        if (host.is_object() && condition(host)) break;
        std::this_thread::sleep_for(50ms);
    }
    return host;
}

httplib::Result post_action(const ServeProcess& serve, const json& body, const httplib::Headers& headers = {}) {
    return serve.client().Post("/api/action", headers, body.dump(), "application/json");
}

// One command straight to a host's control socket, as a second client beside the launcher.
json ask_host(const fs::path& root, const std::string& role, const std::string& line) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::string path = (root / "var/run/zimtone-hosts" / (role + ".sock")).string();
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    std::string answer;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        std::string text = line + "\n";
        if (write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size())) {
            char c;
            pollfd p { fd, POLLIN, 0 };
            while (answer.find('\n') == std::string::npos && poll(&p, 1, 20000) > 0 && read(fd, &c, 1) == 1)
                answer += c;
        }
    }
    close(fd);
    json parsed = json::parse(answer, nullptr, false);
    return parsed.is_object() ? parsed : json { { "ok", false }, { "error", "no answer from " + role } };
}

std::vector<fs::path> sockets_under(const fs::path& root) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_socket(ec)) found.push_back(it->path());
    return found;
}

// One launcher shared by the checks that leave it as they found it.
class ServeDevice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        device_ = new zimtone::testing::TempDevice;
        serve_ = new ServeProcess(device_->root());
    }
    static void TearDownTestSuite() {
        delete serve_;
        delete device_;
    }
    void SetUp() override { ASSERT_GT(serve_->port(), 0) << serve_->output() << serve_->errors(); }

    static zimtone::testing::TempDevice* device_;
    static ServeProcess* serve_;
};
zimtone::testing::TempDevice* ServeDevice::device_ = nullptr;
ServeProcess* ServeDevice::serve_ = nullptr;

TEST_F(ServeDevice, PageAndItsFilesAreServed) {
    struct Case {
        const char* path;
        const char* type;
        const char* contains;
    };
    const Case cases[] = {
        { "/", "text/html; charset=utf-8", "Zimtone 2 device" },
        { "/app.js", "text/javascript; charset=utf-8", "/api/frame" },
        { "/style.css", "text/css; charset=utf-8", "#frame" },
    };
    for (const auto& c : cases) {
        auto res = serve_->client().Get(c.path);
        ASSERT_TRUE(res) << c.path;
        EXPECT_EQ(res->status, 200) << c.path;
        EXPECT_EQ(res->get_header_value("Content-Type"), c.type) << c.path;
        EXPECT_NE(res->body.find(c.contains), std::string::npos) << c.path;
        EXPECT_NE(res->get_header_value("Content-Security-Policy").find("frame-ancestors 'none'"), std::string::npos);
    }
}

TEST_F(ServeDevice, StatusNamesEveryProcess) {
    auto status = get_json(*serve_, "/api/status");
    ASSERT_TRUE(status.is_object());
    ASSERT_EQ(status["hosts"].size(), 3u);
    EXPECT_EQ(status["hosts"][0]["role"], "springboard");
    EXPECT_EQ(status["hosts"][0]["state"], "up");
    EXPECT_EQ(status["hosts"][1]["role"], "messages");
    EXPECT_EQ(status["hosts"][1]["state"], "up");
    EXPECT_EQ(status["hosts"][2]["role"], "settings");
    EXPECT_EQ(status["hosts"][2]["state"], "up");
    EXPECT_EQ(status["settings_message"], "");

    // The Settings app's own page, which the device page shows in a frame: it lets this page
    // frame it and nobody else.
    std::string url = status["settings_url"];
    ASSERT_EQ(url.rfind("http://127.0.0.1:", 0), 0u) << url;
    httplib::Client settings("127.0.0.1", std::atoi(url.c_str() + std::string("http://127.0.0.1:").size()));
    auto res = settings.Get("/");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    const std::string port = std::to_string(serve_->port());
    EXPECT_EQ(res->get_header_value("Content-Security-Policy"),
              "frame-ancestors http://127.0.0.1:" + port + " http://localhost:" + port);
    EXPECT_FALSE(res->has_header("X-Frame-Options"));
    auto page = serve_->client().Get("/");
    ASSERT_TRUE(page);
    EXPECT_NE(page->get_header_value("Content-Security-Policy").find("frame-src " + url.substr(0, url.size() - 1)),
              std::string::npos)
        << page->get_header_value("Content-Security-Policy");
}

TEST_F(ServeDevice, ScreenFrameIsAPictureOrAReason) {
    auto res = serve_->client().Get("/api/frame?since=0");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->get_header_value("X-Frame-Role"), "springboard");
    ASSERT_EQ(res->status, 200) << res->body;
    EXPECT_EQ(res->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(res->body.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    // A page left open from an earlier launcher holds a larger number: it still gets the screen.
    auto stale = serve_->client().Get("/api/frame?since=999999");
    ASSERT_TRUE(stale);
    EXPECT_EQ(stale->status, 200);
    EXPECT_NE(stale->get_header_value("X-Frame-Sequence"), "999999");

    auto bad = serve_->client().Get("/api/frame?since=-1");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->status, 400);
}

TEST_F(ServeDevice, ControlsReachTheHosts) {
    auto shown = post_action(*serve_, { { "action", "show" }, { "screen", "messages" } });
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->status, 200) << shown->body;
    EXPECT_EQ(get_json(*serve_, "/api/status")["screen"], "messages");
    auto back = post_action(*serve_, { { "action", "show" }, { "screen", "springboard" } });
    ASSERT_TRUE(back);
    EXPECT_EQ(get_json(*serve_, "/api/status")["screen"], "springboard");

    auto test_banner = post_action(*serve_, { { "action", "test-banner" } });
    ASSERT_TRUE(test_banner);
    EXPECT_EQ(test_banner->status, 200) << test_banner->body;

    // A command the host refuses comes back as the host's own words, not as success.
    auto refused = post_action(*serve_, { { "action", "bulletin" }, { "app", "com.example.none" }, { "title", "T" },
                                          { "message", "M" } });
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 502);
    EXPECT_EQ(json::parse(refused->body, nullptr, false).value("error", std::string()),
              "no installed app has the bundle identifier 'com.example.none' (see 'apps')");
}

TEST_F(ServeDevice, EveryEndpointRefusesWhatItMust) {
    const std::string own = "http://127.0.0.1:" + std::to_string(serve_->port());
    const std::string good = json { { "action", "show" }, { "screen", "springboard" } }.dump();
    struct Case {
        const char* what;
        std::string method;
        std::string path;
        httplib::Headers headers;
        std::string body;
        std::string type;
        int status;
    };
    const Case cases[] = {
        { "foreign Host on the page", "GET", "/", { { "Host", "evil.example:" + std::to_string(serve_->port()) } }, "", "", 421 },
        { "foreign Host on the API", "GET", "/api/status", { { "Host", "evil.example" } }, "", "", 421 },
        { "foreign Host on a control", "POST", "/api/action", { { "Host", "evil.example" } }, good, "application/json", 421 },
        { "cross-origin control", "POST", "/api/action", { { "Origin", "http://evil.example" } }, good, "application/json", 403 },
        { "cross-site control", "POST", "/api/action", { { "Sec-Fetch-Site", "cross-site" } }, good, "application/json", 403 },
        { "form-encoded control", "POST", "/api/action", { { "Origin", own } }, "action=respring",
          "application/x-www-form-urlencoded", 415 },
        { "traversal", "GET", "/../../etc/passwd", {}, "", "", 400 },
        { "encoded traversal", "GET", "/%2e%2e/%2e%2e/etc/passwd", {}, "", "", 400 },
        { "traversal past a file", "GET", "/app.js/../../../etc/passwd", {}, "", "", 400 },
        { "unknown file", "GET", "/secret.txt", {}, "", "", 404 },
        { "oversized body", "POST", "/api/action", { { "Origin", own } }, std::string(64 * 1024, ' '), "application/json", 413 },
        { "malformed JSON", "POST", "/api/action", { { "Origin", own } }, "{\"action\":", "application/json", 400 },
        { "unknown action", "POST", "/api/action", { { "Origin", own } }, "{\"action\":\"rm\"}", "application/json", 400 },
        { "the page's own control", "POST", "/api/action", { { "Origin", own } }, good, "application/json", 200 },
    };
    for (const auto& c : cases) {
        auto client = serve_->client();
        auto res = c.method == "GET" ? client.Get(c.path.c_str(), c.headers)
                                     : client.Post(c.path.c_str(), c.headers, c.body, c.type.c_str());
        ASSERT_TRUE(res) << c.what;
        EXPECT_EQ(res->status, c.status) << c.what << ": " << res->body;
        if (c.status >= 400) {
            EXPECT_TRUE(json::parse(res->body, nullptr, false).contains("error")) << c.what;
        }
    }
}

// Started on its own, without a device page to sit in, the Settings app lets nobody frame it.
TEST(SettingsAppAlone, RefusesEveryFrame) {
    zimtone::testing::TempDevice device;
    std::string init = (zimtone::testing::build_bin_dir() / "zimtone").string() + " --root " + device.root().string() +
                       " device init > /dev/null";
    ASSERT_EQ(std::system(init.c_str()), 0);
    zimtone::testing::HostUnderTest host("settings", device.root());
    json port = host.command("port");
    ASSERT_TRUE(port.value("ok", false)) << port;
    httplib::Client settings("127.0.0.1", port["port"].get<int>());
    auto res = settings.Get("/");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Security-Policy"), "frame-ancestors 'none'");
    EXPECT_EQ(res->get_header_value("X-Frame-Options"), "DENY");
    EXPECT_EQ(host.finish(), 0);
}

TEST(ServeCommand, PortsItCannotUseAreClearErrors) {
    zimtone::testing::TempDevice device;
    int busy = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(bind(busy, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(busy, 1), 0);
    ASSERT_EQ(getsockname(busy, reinterpret_cast<sockaddr*>(&address), &size), 0);
    const std::string busy_port = std::to_string(ntohs(address.sin_port));

    struct Case {
        std::string port;
        int status;
        std::string message;
    };
    const Case cases[] = {
        { busy_port, 1, "cannot listen on 127.0.0.1:" + busy_port },
        { "70000", 2, "--port" },
        { "http", 2, "--port" },
    };
    for (const auto& c : cases) {
        std::string command = (zimtone::testing::build_bin_dir() / "zimtone").string() + " serve --root " +
                              device.root().string() + " --no-browser --port " + c.port + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char chunk[1024];
        for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, n);
        int raw = pclose(pipe);
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.port << ": " << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
    }
    close(busy);
}

// A launcher of its own: this one has hosts killed and restarted under it.
TEST(ServeLifecycle, KilledHostIsReportedRespringRestartsAndStopLeavesNothing) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();

    json messages = host_status(serve, "messages");
    ASSERT_EQ(messages["state"], "up");
    pid_t messages_pid = messages["pid"];
    ASSERT_EQ(kill(messages_pid, SIGKILL), 0);
    messages = wait_for_host(serve, "messages", [](const json& h) { return h["state"] == "exited"; });
    EXPECT_EQ(messages["state"], "exited");
    EXPECT_NE(messages["detail"].get<std::string>().find("was killed by signal 9"), std::string::npos) << messages;
    EXPECT_NE(serve.errors().find("the messages host (pid " + std::to_string(messages_pid) + ") was killed by signal 9"),
              std::string::npos)
        << serve.errors();

    json home = host_status(serve, "springboard");
    ASSERT_EQ(home["state"], "up");
    pid_t first_pid = home["pid"];
    auto respring = post_action(serve, { { "action", "respring" } });
    ASSERT_TRUE(respring);
    EXPECT_EQ(respring->status, 200);
    home = wait_for_host(serve, "springboard", [](const json& h) { return h["restarts"] == 1 && h["state"] == "up"; });
    EXPECT_EQ(home["state"], "up") << home;
    EXPECT_EQ(home["restarts"], 1) << home;
    EXPECT_NE(home["pid"], first_pid);
    pid_t second_pid = home["pid"];
    // The new home screen answers commands: the launcher talks to the restarted process.
    auto frame = serve.client().Get("/api/frame?since=0");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->status, 200);

    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
    EXPECT_NE(kill(second_pid, 0), 0) << "the home screen outlived its launcher";
    EXPECT_EQ(sockets_under(device.root()), std::vector<fs::path> {}) << "sockets left behind";
    EXPECT_NE(serve.output().find("Stopped."), std::string::npos) << serve.output();
}

// The Settings app's own page, driven as its browser drives it: rows by label or key, actions as JSON.
class SettingsApp {
public:
    explicit SettingsApp(const ServeProcess& serve) {
        auto status = get_json(serve, "/api/status");
        std::string url = status.value("settings_url", json()).is_string() ? status["settings_url"].get<std::string>() : "";
        port_ = url.empty() ? 0 : std::atoi(url.c_str() + std::string("http://127.0.0.1:").size());
    }
    int port() const { return port_; }
    // The page on screen; an empty object once the app is gone.
    json page() const {
        auto res = client().Get("/api/page");
        json page = res ? json::parse(res->body, nullptr, false) : json();
        return page.is_object() ? page : json::object();
    }
    // The pane's answer to one action: the new page, or {"error":...}.
    json act(const json& action) const {
        httplib::Headers origin { { "Origin", "http://127.0.0.1:" + std::to_string(port_) } };
        auto res = client().Post("/api/action", origin, action.dump(), "application/json");
        json page = res ? json::parse(res->body, nullptr, false) : json();
        return page.is_object() ? page : json { { "error", "no answer" } };
    }
    json tap(const std::string& label) const { return act({ { "type", "tap" }, { "row", row_where("label", label) } }); }
    json set(const std::string& key, const json& value) const {
        return act({ { "type", "set" }, { "row", row_where("key", key) }, { "value", value } });
    }
    json back() const { return act({ { "type", "back" } }); }

private:
    httplib::Client client() const {
        httplib::Client c("127.0.0.1", port_);
        c.set_read_timeout(20, 0);
        return c;
    }
    int row_where(const char* field, const std::string& value) const {
        json rows = page().value("rows", json::array());
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].is_object() && rows[i].value(field, json()) == value) return static_cast<int>(i);
        return -1;
    }
    int port_ { 0 };
};

void find_views(const json& view, const std::function<bool(const json&)>& wanted, std::vector<json>& found) {
    if (!view.is_object()) return;
    if (wanted(view)) found.push_back(view);
    for (const auto& sub : view.value("subviews", json::array())) find_views(sub, wanted, found);
}

std::vector<json> home_views(const fs::path& root, const std::function<bool(const json&)>& wanted) {
    std::vector<json> found;
    find_views(ask_host(root, "springboard", "dump").value("screen", json()), wanted, found);
    return found;
}

// Polls the home screen's view tree until some view passes; that view, or null at the bound.
json wait_for_home_view(const fs::path& root, const std::function<bool(const json&)>& wanted) {
    auto deadline = std::chrono::steady_clock::now() + kChangeBound;
    while (std::chrono::steady_clock::now() < deadline) {
        auto found = home_views(root, wanted);
        if (!found.empty()) return found.front();
        std::this_thread::sleep_for(50ms);
    }
    return json();
}

std::function<bool(const json&)> of_class(const std::string& name) {
    return [name](const json& v) { return v.value("class", "") == name; };
}

std::function<bool(const json&)> with_text(const std::string& text) {
    return [text](const json& v) { return v.value("text", json()) == text; };
}

double file_number(const char* key) {
    auto settings = platform::foundation::read_dictionary_file(zimtone::settings::kSettingsFile);
    if (!settings) return -1;
    auto* number = dynamic_cast<platform::foundation::NSNumber*>(settings->objectForKey(platform::foundation::ns(key).get()).get());
    return number ? number->doubleValue() : -1;
}

TEST(ServeEndToEnd, SettingsAppChangeReachesTheHomeScreenAndWhatItDraws) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();
    SettingsApp settings(serve);
    ASSERT_GT(settings.port(), 0) << get_json(serve, "/api/status");

    auto locked = post_action(serve, { { "action", "lock" } });
    ASSERT_TRUE(locked);
    ASSERT_EQ(locked->status, 200) << locked->body;
    auto posted = post_action(serve, { { "action", "test-lockscreen" } });
    ASSERT_TRUE(posted);
    ASSERT_EQ(posted->status, 200) << posted->body;
    json cell = wait_for_home_view(device.root(), of_class("SBLockScreenBulletinCell"));
    ASSERT_TRUE(cell.is_object()) << "the lock-screen test notification never appeared";
    const json opaque = cell["subviews"][0]["background"];
    ASSERT_TRUE(opaque.is_array()) << cell;
    EXPECT_EQ(opaque[3], 1.0);

    ASSERT_FALSE(settings.tap("Lock Screen").contains("error"));
    json page = settings.set("LockscreenAlpha", 0.5);
    ASSERT_FALSE(page.contains("error")) << page;
    EXPECT_DOUBLE_EQ(file_number("LockscreenAlpha"), 0.5);
    EXPECT_TRUE(page["respring"].is_null()) << "a live setting asks for no respring";
    // The reload reached the running tweak without a restart ...
    auto deadline = std::chrono::steady_clock::now() + kChangeBound;
    json tweak;
    while (std::chrono::steady_clock::now() < deadline) {
        tweak = ask_host(device.root(), "springboard", "tweak");
        if (tweak["settings"]["LockscreenAlpha"] == 0.5) break;
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(tweak["settings"]["LockscreenAlpha"], 0.5) << tweak;

    // ... and what it colours next wears it: a new notification reloads the list, so the one
    // that was opaque is coloured again beside it.
    posted = post_action(serve, { { "action", "test-lockscreen" } });
    ASSERT_TRUE(posted);
    ASSERT_EQ(posted->status, 200) << posted->body;
    std::vector<json> cells;
    for (auto until = std::chrono::steady_clock::now() + kChangeBound;
         cells.size() < 2 && std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(50ms))
        cells = home_views(device.root(), of_class("SBLockScreenBulletinCell"));
    ASSERT_EQ(cells.size(), 2u);
    std::vector<double> alphas;
    for (const auto& c : cells) alphas.push_back(c["subviews"][0]["background"][3].get<double>());
    std::sort(alphas.begin(), alphas.end());
    EXPECT_EQ(alphas, (std::vector<double> { 0.5, 0.5 }));
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

TEST(ServeEndToEnd, BothTestNotificationsAppearOnTheHomeScreen) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();

    auto banner = post_action(serve, { { "action", "test-banner" } });
    ASSERT_TRUE(banner);
    ASSERT_EQ(banner->status, 200) << banner->body;
    json shown = wait_for_home_view(device.root(), of_class("SBDefaultBannerView"));
    ASSERT_TRUE(shown.is_object()) << "the test banner never came down";
    std::vector<json> texts;
    find_views(shown, of_class("SBDefaultBannerTextView"), texts);
    ASSERT_EQ(texts.size(), 1u) << shown;
    EXPECT_EQ(texts[0]["strings"]["primary"]["text"], "Zimtone 2");
    EXPECT_EQ(texts[0]["strings"]["secondary"]["text"], "Created by Mossglint");

    auto lock_screen = post_action(serve, { { "action", "test-lockscreen" } });
    ASSERT_TRUE(lock_screen);
    ASSERT_EQ(lock_screen->status, 200) << lock_screen->body;
    json cell = wait_for_home_view(device.root(), of_class("SBLockScreenBulletinCell"));
    ASSERT_TRUE(cell.is_object()) << "the lock-screen test notification never appeared";
    std::vector<json> credit;
    find_views(cell, with_text("Created by Mossglint"), credit);
    EXPECT_FALSE(credit.empty()) << cell;
    EXPECT_EQ(home_views(device.root(), of_class("SBLockScreenView")).size(), 1u) << "the device locked for it";
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

// The master switch decides installation only when the process starts: turned off, the running
// tweak keeps its banner hooks, the Settings app offers a respring, and after it they are gone
// and the restarted tweak holds the file's other values.
TEST(ServeEndToEnd, MasterSwitchOffNeedsTheRespringTheSettingsAppOffers) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();
    SettingsApp settings(serve);
    ASSERT_GT(settings.port(), 0);

    json before = ask_host(device.root(), "springboard", "tweak");
    ASSERT_TRUE(before.value("ok", false)) << before;
    EXPECT_EQ(before["groups"]["Banner"], true);

    ASSERT_FALSE(settings.tap("Banners").contains("error"));
    ASSERT_FALSE(settings.set("BannerAlpha", 0.25).contains("error"));
    json off = settings.set("BannersEnabled", false);
    ASSERT_FALSE(off.contains("error")) << off;
    json root_page = settings.back();
    EXPECT_EQ(root_page["respring"], "Respring") << root_page;

    json running = ask_host(device.root(), "springboard", "tweak");
    EXPECT_EQ(running["groups"]["Banner"], true) << "installation changed without a restart";
    EXPECT_DOUBLE_EQ(running["settings"]["BannerAlpha"].get<double>(), 0.25) << "a live setting waits for nothing";

    ASSERT_FALSE(settings.act({ { "type", "respring" } }).contains("error"));
    json home = wait_for_host(serve, "springboard", [](const json& h) { return h["restarts"] == 1 && h["state"] == "up"; });
    ASSERT_EQ(home["state"], "up") << home;

    json after = ask_host(device.root(), "springboard", "tweak");
    ASSERT_TRUE(after.value("ok", false)) << after;
    EXPECT_EQ(after["groups"]["Banner"], false);
    EXPECT_DOUBLE_EQ(after["settings"]["BannerAlpha"].get<double>(), 0.25);
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

// The Settings app killed while it writes, again and again: the file on disk is always one whole
// write, and the launcher says what happened to the process.
TEST(ServeEndToEnd, SettingsAppKilledMidWriteLeavesTheFileWholeAndIsReported) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();
    SettingsApp settings(serve);
    ASSERT_GT(settings.port(), 0);
    ASSERT_FALSE(settings.tap("Banners").contains("error"));
    const double written[] = { 0.2, 0.4, 0.6, 0.8 };
    ASSERT_FALSE(settings.set("BannerAlpha", written[0]).contains("error"));
    pid_t settings_pid = host_status(serve, "settings")["pid"];

    std::atomic<int> writes { 0 };
    std::thread writer([&] {
        for (int i = 1; i < 10000; ++i) {
            if (settings.set("BannerAlpha", written[i % 4]).contains("error")) return; // the host is gone
            ++writes;
        }
    });
    while (writes < 5) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(kill(settings_pid, SIGKILL), 0);
    writer.join();

    double kept = file_number("BannerAlpha");
    EXPECT_TRUE(std::find(std::begin(written), std::end(written), kept) != std::end(written))
        << "the settings file holds " << kept;
    json host = wait_for_host(serve, "settings", [](const json& h) { return h["state"] == "exited"; });
    EXPECT_EQ(host["state"], "exited");
    EXPECT_NE(host["detail"].get<std::string>().find("was killed by signal 9"), std::string::npos) << host;
    EXPECT_NE(serve.errors().find("the settings host (pid " + std::to_string(settings_pid) + ") was killed by signal 9"),
              std::string::npos)
        << serve.errors();
    // The home screen still reads the file it left: the tweak's next start gets a whole dictionary.
    EXPECT_TRUE(ask_host(device.root(), "springboard", "tweak").value("ok", false));
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

} // namespace
