// `zimtone serve` as a person starts it: a real launcher process with its real host processes,
// reached over HTTP the way the page reaches it.
#include <gtest/gtest.h>

#include <netinet/in.h>

#include <cstdlib>

#include "tests/serve/ServeProcess.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace zimtone::testing::serve;

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
        {"/", "text/html; charset=utf-8", "Zimtone 2 device"},
        {"/app.js", "text/javascript; charset=utf-8", "/api/frame"},
        {"/style.css", "text/css; charset=utf-8", "#frame"},
        {"/touch.js", "text/javascript; charset=utf-8", "pointerdown"},
    };
    for (const auto& c : cases) {
        auto res = serve_->client().Get(c.path);
        ASSERT_TRUE(res) << c.path;
        EXPECT_EQ(res->status, 200) << c.path;
        EXPECT_EQ(res->get_header_value("Content-Type"), c.type) << c.path;
        EXPECT_NE(res->body.find(c.contains), std::string::npos) << c.path;
        EXPECT_NE(res->get_header_value("Content-Security-Policy").find("frame-ancestors 'none'"),
                  std::string::npos);
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
    EXPECT_NE(
        page->get_header_value("Content-Security-Policy").find("frame-src " + url.substr(0, url.size() - 1)),
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
    auto shown = post_action(*serve_, {{"action", "show"}, {"screen", "messages"}});
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->status, 200) << shown->body;
    EXPECT_EQ(get_json(*serve_, "/api/status")["screen"], "messages");
    auto back = post_action(*serve_, {{"action", "show"}, {"screen", "springboard"}});
    ASSERT_TRUE(back);
    EXPECT_EQ(get_json(*serve_, "/api/status")["screen"], "springboard");

    auto test_banner = post_action(*serve_, {{"action", "test-banner"}});
    ASSERT_TRUE(test_banner);
    EXPECT_EQ(test_banner->status, 200) << test_banner->body;

    // A command the host refuses comes back as the host's own words, not as success.
    auto refused = post_action(
        *serve_, {{"action", "bulletin"}, {"app", "com.example.none"}, {"title", "T"}, {"message", "M"}});
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 502);
    EXPECT_EQ(json::parse(refused->body, nullptr, false).value("error", std::string()),
              "no installed app has the bundle identifier 'com.example.none' (see 'apps')");
}

// The app picker's icons: each app's small icon as the home screen gives it, an empty one for an
// app without, and a clear error for what names no app.
TEST_F(ServeDevice, AppIconsComeFromTheHomeScreenAndBadRequestsAreRefused) {
    const std::string png_base64 = "iVBORw0KGgo"; // the PNG signature
    struct Case {
        std::string path;
        int status;
        const char* icon;  // the start of the icon, for an answer that has one
        const char* error; // for one that does not
    };
    const Case cases[] = {
        {"/api/icon?app=com.apple.MobileSMS", 200, png_base64.c_str(), nullptr},
        {"/api/icon?app=com.example.plaintext", 200, "", nullptr},
        {"/api/icon", 400, nullptr, "'app' is missing"},
        {"/api/icon?app=", 400, nullptr, "'app' is not a bundle identifier"},
        {"/api/icon?app=com.apple.MobileSMS%20com.apple.weather", 400, nullptr,
         "'app' is not a bundle identifier"},
        {"/api/icon?app=a%0Adump", 400, nullptr, "'app' is not a bundle identifier"},
        {"/api/icon?app=" + std::string(256, 'a'), 400, nullptr, "'app' is not a bundle identifier"},
        {"/api/icon?app=com.example.none", 502, nullptr,
         "no installed app has the bundle identifier 'com.example.none' (see 'apps')"},
    };
    for (const auto& c : cases) {
        auto res = serve_->client().Get(c.path);
        ASSERT_TRUE(res) << c.path;
        EXPECT_EQ(res->status, c.status) << c.path << ": " << res->body;
        json answer = json::parse(res->body, nullptr, false);
        if (c.error) {
            EXPECT_EQ(answer.value("error", std::string()), c.error) << c.path;
            continue;
        }
        const std::string icon = answer.value("icon", std::string("(none)"));
        EXPECT_EQ(icon.substr(0, std::string(c.icon).size()), c.icon) << c.path;
        if (*c.icon == '\0')
            EXPECT_EQ(icon, "") << c.path;
    }
}

TEST_F(ServeDevice, EveryEndpointRefusesWhatItMust) {
    const std::string own = "http://127.0.0.1:" + std::to_string(serve_->port());
    const std::string good = json{{"action", "show"}, {"screen", "springboard"}}.dump();
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
        {"foreign Host on the page",
         "GET",
         "/",
         {{"Host", "evil.example:" + std::to_string(serve_->port())}},
         "",
         "",
         421},
        {"foreign Host on the API", "GET", "/api/status", {{"Host", "evil.example"}}, "", "", 421},
        {"foreign Host on a control",
         "POST",
         "/api/action",
         {{"Host", "evil.example"}},
         good,
         "application/json",
         421},
        {"cross-origin control",
         "POST",
         "/api/action",
         {{"Origin", "http://evil.example"}},
         good,
         "application/json",
         403},
        {"cross-site control",
         "POST",
         "/api/action",
         {{"Sec-Fetch-Site", "cross-site"}},
         good,
         "application/json",
         403},
        {"form-encoded control",
         "POST",
         "/api/action",
         {{"Origin", own}},
         "action=respring",
         "application/x-www-form-urlencoded",
         415},
        {"traversal", "GET", "/../../etc/passwd", {}, "", "", 400},
        {"encoded traversal", "GET", "/%2e%2e/%2e%2e/etc/passwd", {}, "", "", 400},
        {"traversal past a file", "GET", "/app.js/../../../etc/passwd", {}, "", "", 400},
        {"unknown file", "GET", "/secret.txt", {}, "", "", 404},
        {"oversized body",
         "POST",
         "/api/action",
         {{"Origin", own}},
         std::string(64 * 1024, ' '),
         "application/json",
         413},
        {"malformed JSON", "POST", "/api/action", {{"Origin", own}}, "{\"action\":", "application/json", 400},
        {"unknown action",
         "POST",
         "/api/action",
         {{"Origin", own}},
         "{\"action\":\"rm\"}",
         "application/json",
         400},
        {"the page's own control", "POST", "/api/action", {{"Origin", own}}, good, "application/json", 200},
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
    std::string init = (zimtone::testing::build_bin_dir() / "zimtone").string() + " --root " +
                       device.root().string() + " device init > /dev/null";
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
    sockaddr_in address{};
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
        {busy_port, 1, "cannot listen on 127.0.0.1:" + busy_port},
        {"70000", 2, "--port"},
        {"http", 2, "--port"},
    };
    for (const auto& c : cases) {
        std::string command = (zimtone::testing::build_bin_dir() / "zimtone").string() + " serve --root " +
                              device.root().string() + " --no-browser --port " + c.port + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char chunk[1024];
        for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            out.append(chunk, n);
        int raw = pclose(pipe);
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.port << ": " << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
    }
    close(busy);
}

// A launcher of its own: this one has hosts killed and restarted under it.
// The folders the launcher draws its frames in.
std::vector<fs::path> frame_folders(const fs::path& root) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(root / "var/run", ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename().string().starts_with("zimtone-frames-"))
            found.push_back(it->path());
    return found;
}

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
    EXPECT_NE(messages["detail"].get<std::string>().find("was killed by signal 9"), std::string::npos)
        << messages;
    EXPECT_NE(serve.errors().find("the messages host (pid " + std::to_string(messages_pid) +
                                  ") was killed by signal 9"),
              std::string::npos)
        << serve.errors();

    json home = host_status(serve, "springboard");
    ASSERT_EQ(home["state"], "up");
    pid_t first_pid = home["pid"];
    auto respring = post_action(serve, {{"action", "respring"}});
    ASSERT_TRUE(respring);
    EXPECT_EQ(respring->status, 200);
    home = wait_for_host(serve, "springboard",
                         [](const json& h) { return h["restarts"] == 1 && h["state"] == "up"; });
    EXPECT_EQ(home["state"], "up") << home;
    EXPECT_EQ(home["restarts"], 1) << home;
    EXPECT_NE(home["pid"], first_pid);
    pid_t second_pid = home["pid"];
    // The new home screen draws for the page: the launcher talks to the restarted process. A
    // frame taken while it restarted says why there was no picture; the next one is the screen.
    std::string sequence = "0";
    int status = 0;
    for (auto until = std::chrono::steady_clock::now() + kChangeBound;
         status != 200 && std::chrono::steady_clock::now() < until;) {
        auto frame = serve.client().Get("/api/frame?since=" + sequence);
        ASSERT_TRUE(frame);
        status = frame->status;
        if (frame->has_header("X-Frame-Sequence"))
            sequence = frame->get_header_value("X-Frame-Sequence");
    }
    EXPECT_EQ(status, 200);
    // Frames are drawn under the device root, in a folder for the user alone.
    auto frames = frame_folders(device.root());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(fs::status(frames[0]).permissions() & fs::perms::all, fs::perms::owner_all);

    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
    EXPECT_EQ(frame_folders(device.root()), std::vector<fs::path>{}) << "the frames' folder was left behind";
    EXPECT_NE(kill(second_pid, 0), 0) << "the home screen outlived its launcher";
    EXPECT_EQ(sockets_under(device.root()), std::vector<fs::path>{}) << "sockets left behind";
    EXPECT_NE(serve.output().find("Stopped."), std::string::npos) << serve.output();
}

// A home screen killed outright cannot hear a respring: the launcher starts it again itself.
TEST(ServeLifecycle, RespringBringsBackAKilledHomeScreenAndRestartLeavesALiveOneAlone) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.output() << serve.errors();

    json home = host_status(serve, "springboard");
    ASSERT_EQ(home["state"], "up");
    pid_t killed_pid = home["pid"];
    ASSERT_EQ(kill(killed_pid, SIGKILL), 0);
    home = wait_for_host(serve, "springboard", [](const json& h) { return h["state"] == "exited"; });
    ASSERT_EQ(home["state"], "exited") << home;
    EXPECT_FALSE(ask_host(device.root(), "springboard", "apps").value("ok", false))
        << "the killed host answered";

    auto respring = post_action(serve, {{"action", "respring"}});
    ASSERT_TRUE(respring);
    EXPECT_EQ(respring->status, 200) << respring->body;
    home = wait_for_host(serve, "springboard", [](const json& h) { return h["state"] == "up"; });
    ASSERT_EQ(home["state"], "up") << home << serve.errors();
    EXPECT_NE(home["pid"], killed_pid);
    EXPECT_TRUE(ask_host(device.root(), "springboard", "apps").value("ok", false)) << serve.errors();
    auto drawn = serve.client().Post(
        "/api/action", R"({"action":"bulletin","app":"com.apple.MobileSMS","title":"T","message":"M"})",
        "application/json");
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->status, 200) << "the launcher speaks to the new host: " << drawn->body;

    // Restart of a host that runs changes nothing.
    home = wait_for_host(serve, "springboard", [](const json& h) { return h["state"] == "up"; });
    pid_t running_pid = home["pid"];
    auto restart = post_action(serve, {{"action", "restart"}, {"role", "springboard"}});
    ASSERT_TRUE(restart);
    EXPECT_EQ(restart->status, 200) << restart->body;
    EXPECT_EQ(host_status(serve, "springboard")["pid"], running_pid);
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

} // namespace
