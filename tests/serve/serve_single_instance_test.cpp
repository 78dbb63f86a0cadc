// One `zimtone serve` per port and per device root: a second one is refused with a clear message
// and leaves the first one as it was.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/serve/ServeProcess.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace zimtone::testing::serve;

struct Finished {
    int status;
    std::string output;
};

Finished run_serve(const fs::path& root, int port) {
    // A second server that does start is stopped after a while, so that the test fails, not hangs.
    std::string command = "timeout 60 " + (zimtone::testing::build_bin_dir() / "zimtone").string() +
                          " serve --root " + root.string() + " --no-browser --port " + std::to_string(port) +
                          " 2>&1";
    Finished finished{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return finished;
    char chunk[1024];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        finished.output.append(chunk, n);
    int raw = pclose(pipe);
    finished.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return finished;
}

TEST(ServeSingleInstance, ASecondServeOnTheSamePortOrRootIsRefused) {
    zimtone::testing::TempDevice first_device;
    zimtone::testing::TempDevice other_device;
    ServeProcess first(first_device.root());
    ASSERT_GT(first.port(), 0) << first.output() << first.errors();
    const std::string root_text = first_device.root().string();
    auto sockets_before = sockets_under(first_device.root());

    struct Case {
        const char* what;
        fs::path root;
        int port;
        std::string message;
    };
    const Case cases[] = {
        {"the same port, another device", other_device.root(), first.port(),
         "cannot listen on 127.0.0.1:" + std::to_string(first.port()) + " (is the port in use?)"},
        {"the same device, another port", first_device.root(), 0,
         "another `zimtone serve` is running on the device in " + root_text},
    };
    for (const auto& c : cases) {
        auto second = run_serve(c.root, c.port);
        EXPECT_EQ(second.status, 1) << c.what << ": " << second.output;
        EXPECT_NE(second.output.find(c.message), std::string::npos) << c.what << ": " << second.output;
        // The first one goes on as before: its page answers, its hosts keep their sockets.
        auto status = get_json(first, "/api/status");
        ASSERT_EQ(status["hosts"].size(), 3u) << c.what;
        for (auto& host : status["hosts"])
            EXPECT_EQ(host["state"], "up") << c.what << ": " << host;
        for (const auto& socket : sockets_before)
            EXPECT_TRUE(fs::is_socket(socket)) << c.what << ": " << socket << " was removed";
        EXPECT_TRUE(ask_host(first_device.root(), "springboard", "apps").value("ok", false)) << c.what;
    }
    // Refused for its port, the second one wrote nothing on its own device.
    EXPECT_TRUE(fs::is_empty(other_device.root()));
    EXPECT_EQ(first.terminate(), 0) << first.errors();
}

TEST(ServeSingleInstance, ALockFileThatIsALinkIsNeverFollowed) {
    zimtone::testing::TempDevice device;
    fs::create_directories(device.root() / "var/run");
    fs::path elsewhere = device.root().parent_path() / (device.root().filename().string() + "-elsewhere");
    fs::create_symlink(elsewhere, device.root() / "var/run/serve.lock");
    auto refused = run_serve(device.root(), 0);
    EXPECT_EQ(refused.status, 1) << refused.output;
    EXPECT_NE(refused.output.find("serve.lock: it is a symbolic link"), std::string::npos) << refused.output;
    std::error_code ec;
    EXPECT_FALSE(fs::exists(elsewhere, ec));
    fs::remove(elsewhere, ec);
}

} // namespace
