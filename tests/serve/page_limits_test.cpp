// Both loopback pages of a running `zimtone serve`, the device page and the Settings app's, hold
// up against clients that send without end or hardly at all.
#include <gtest/gtest.h>

#include "tests/serve/ServeProcess.h"
#include "tests/support/RawConnection.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace zimtone::testing::serve;
using zimtone::testing::RawConnection;

struct PageUnderTest {
    const char* name;
    int port;
};

class PageLimits : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        device_ = new zimtone::testing::TempDevice;
        serve_ = new ServeProcess(device_->root());
    }
    static void TearDownTestSuite() {
        delete serve_;
        delete device_;
    }
    void SetUp() override {
        ASSERT_GT(serve_->port(), 0) << serve_->output() << serve_->errors();
        json settings = wait_for_host(*serve_, "settings", [](const json& h) { return h["state"] == "up"; });
        ASSERT_EQ(settings["state"], "up") << settings;
        std::string url = get_json(*serve_, "/api/status").value("settings_url", "");
        ASSERT_EQ(url.rfind("http://127.0.0.1:", 0), 0u) << url;
        pages_ = {
            {"the device page", serve_->port()},
            {"the Settings app's page", std::atoi(url.c_str() + std::string("http://127.0.0.1:").size())}};
    }

    static bool answers(int port) {
        httplib::Client client("127.0.0.1", port);
        client.set_connection_timeout(20s);
        client.set_read_timeout(20s);
        auto res = client.Get("/");
        return res && res->status == 200;
    }

    static zimtone::testing::TempDevice* device_;
    static ServeProcess* serve_;
    std::vector<PageUnderTest> pages_;
};
zimtone::testing::TempDevice* PageLimits::device_ = nullptr;
ServeProcess* PageLimits::serve_ = nullptr;

TEST_F(PageLimits, AChunkedBodyWithoutEndIsRefusedBeforeItIsRead) {
    const size_t bound = zimtone::testing::bytes_a_refusing_server_may_take();
    const size_t total = std::max<size_t>(64 << 20, 2 * bound);
    for (const auto& page : pages_) {
        std::string port = std::to_string(page.port);
        std::string head = "POST /api/action HTTP/1.1\r\nHost: 127.0.0.1:" + port +
                           "\r\nOrigin: http://127.0.0.1:" + port +
                           "\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n";
        auto result = zimtone::testing::stream_request(
            page.port, head, [](size_t) { return "10000\r\n" + std::string(0x10000, ' ') + "\r\n"; }, total);
        EXPECT_EQ(RawConnection::status_of(result.answer), 413) << page.name << ": " << result.answer;
        EXPECT_LT(result.accepted, bound) << page.name << ": the body was read whole";
        EXPECT_TRUE(answers(page.port)) << page.name;
    }
}

TEST_F(PageLimits, FiftySlowClientsDoNotDenyThePage) {
    for (const auto& page : pages_) {
        // One header line a second from each, well within any timeout of a single read.
        zimtone::testing::SlowClients slow(page.port, 50);
        ASSERT_TRUE(slow.all_connected()) << page.name;
        EXPECT_TRUE(answers(page.port)) << page.name;
    }
}

} // namespace
