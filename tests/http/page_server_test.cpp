// The server both loopback pages run on: what a client may send on one connection, how many
// clients it serves at once, and that it alone holds its port.
#include <gtest/gtest.h>

#include <httplib.h>

#include <thread>

#include "sim/http/PageServer.h"
#include "sim/http/RequestGate.h"
#include "tests/support/RawConnection.h"

namespace {

using namespace std::chrono_literals;
using zimtone::http::kMaxRequestBody;
using zimtone::http::PageServer;
using zimtone::testing::RawConnection;
using zimtone::testing::stream_request;

// A page with one route of each kind, serving on a thread of its own.
class Page {
  public:
    Page() {
        server_.Get("/", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("page", "text/plain");
        });
        server_.post_json("/api/action",
                          [](const httplib::Request&, const std::string& body, httplib::Response& res) {
                              res.set_content(std::to_string(body.size()), "text/plain");
                          });
        port_ = server_.bind_loopback(0);
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~Page() {
        server_.stop();
        thread_.join();
    }
    int port() const { return port_; }
    PageServer& server() { return server_; }

    // The page still answers an ordinary request.
    bool answers() const {
        httplib::Client client("127.0.0.1", port_);
        client.set_connection_timeout(20s);
        client.set_read_timeout(20s);
        auto res = client.Get("/");
        return res && res->status == 200 && res->body == "page";
    }

  private:
    PageServer server_;
    int port_{-1};
    std::thread thread_;
};

std::string head(int port, const std::string& framing) {
    return "POST /api/action HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
           "\r\nContent-Type: application/json\r\n" + framing + "\r\n";
}

std::string chunk(size_t size) {
    char length[32];
    std::snprintf(length, sizeof length, "%zx\r\n", size);
    return length + std::string(size, ' ') + "\r\n";
}

TEST(PageServer, BodiesUpToTheCapReachTheirRouteWhole) {
    Page page;
    struct Case {
        const char* what;
        std::string framing;
        std::string body;
    };
    std::string single_bytes;
    for (size_t i = 0; i < kMaxRequestBody; ++i)
        single_bytes += chunk(1);
    const Case cases[] = {
        {"a declared length", "Content-Length: 16384\r\n", std::string(kMaxRequestBody, ' ')},
        {"chunks", "Transfer-Encoding: chunked\r\n", chunk(10000) + chunk(6384) + "0\r\n\r\n"},
        {"chunks of one byte each", "Transfer-Encoding: chunked\r\n", single_bytes + "0\r\n\r\n"},
    };
    for (const auto& c : cases) {
        RawConnection connection(page.port());
        ASSERT_TRUE(connection.send_all(head(page.port(), c.framing) + c.body)) << c.what;
        std::string answer = connection.read_answer();
        EXPECT_EQ(RawConnection::status_of(answer), 200) << c.what << ": " << answer;
        EXPECT_TRUE(answer.ends_with("\r\n\r\n16384")) << c.what << ": " << answer;
    }
}

// Each body is endless: the server must answer before it has taken more than its own limits and
// what the sockets buffer, and still answer others afterwards.
TEST(PageServer, EndlessRequestsAreCutOffEarlyWhateverTheirFraming) {
    Page page;
    const size_t bound = zimtone::testing::bytes_a_refusing_server_may_take();
    const size_t total = std::max<size_t>(64 << 20, 2 * bound);
    auto spaces = [](size_t) { return std::string(64 * 1024, ' '); };
    auto chunks = [](size_t) { return chunk(64 * 1024); };
    auto tiny_chunks = [](size_t) {
        std::string bytes;
        for (int i = 0; i < 4096; ++i)
            bytes += chunk(1);
        return bytes;
    };
    auto hex_digits = [](size_t) { return std::string(64 * 1024, 'f'); };
    auto header_lines = [](size_t) {
        std::string bytes;
        for (int i = 0; i < 1024; ++i)
            bytes += "X-More: 0123456789012345678901234567890123456789012345678901234\r\n";
        return bytes;
    };
    std::string host = "Host: 127.0.0.1:" + std::to_string(page.port()) + "\r\n";
    struct Case {
        const char* what;
        std::string head;
        std::function<std::string(size_t)> piece;
        int status; // 0: the server closes without an answer
    };
    const Case cases[] = {
        {"chunks of 64 KiB", head(page.port(), "Transfer-Encoding: chunked\r\n"), chunks, 413},
        {"chunks of one byte", head(page.port(), "Transfer-Encoding: chunked\r\n"), tiny_chunks, 413},
        {"a declared length over the cap",
         head(page.port(), "Content-Length: " + std::to_string(total) + "\r\n"), spaces, 413},
        {"no length at all", head(page.port(), ""), spaces, 411},
        {"a chunk size without end", head(page.port(), "Transfer-Encoding: chunked\r\n"), hex_digits, 400},
        {"a request line without end", "GET /", spaces, 0},
        {"headers without end", "GET / HTTP/1.1\r\n" + host, header_lines, 400},
    };
    for (const auto& c : cases) {
        auto result = stream_request(page.port(), c.head, c.piece, total);
        EXPECT_EQ(RawConnection::status_of(result.answer), c.status) << c.what << ": " << result.answer;
        EXPECT_LT(result.accepted, bound) << c.what << ": the server took the body whole";
        EXPECT_TRUE(page.answers()) << c.what;
    }
}

TEST(PageServer, ARequestThatMayCarryABodyEndsItsConnection) {
    Page page;
    // Whatever follows a refused body is never read as a request of its own.
    RawConnection connection(page.port());
    std::string smuggled = "GET / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(page.port()) + "\r\n\r\n";
    ASSERT_TRUE(connection.send_all(head(page.port(), "Content-Length: 99999\r\n") + smuggled));
    auto answers = connection.read_until_closed(20s);
    ASSERT_TRUE(answers) << "the connection stayed open";
    EXPECT_EQ(RawConnection::status_of(*answers), 413) << *answers;
    EXPECT_NE(answers->find("Connection: close"), std::string::npos) << *answers;
    EXPECT_EQ(answers->find("HTTP/1.1", 1), std::string::npos) << "the rest was answered: " << *answers;
}

TEST(PageServer, SlowClientsDoNotDenyThePageToOthers) {
    Page page;
    // Each sends one more header line every second, well within any per-read timeout.
    zimtone::testing::SlowClients slow(page.port(), 50);
    ASSERT_TRUE(slow.all_connected());
    EXPECT_TRUE(page.answers());
    // And a head that never ends is cut off rather than holding its worker for ever.
    EXPECT_TRUE(slow.first().read_until_closed(30s));
}

TEST(PageServer, OnlyOneServerHoldsAPort) {
    Page page;
    PageServer second;
    EXPECT_EQ(second.bind_loopback(page.port()), -1);
    EXPECT_TRUE(page.answers());
}

TEST(PageServer, RefusalsComeFromTheGateAsJson) {
    Page page;
    httplib::Client client("127.0.0.1", page.port());
    client.set_read_timeout(20s);
    auto foreign = client.Get("/", {{"Host", "evil.example"}});
    ASSERT_TRUE(foreign);
    EXPECT_EQ(foreign->status, 421);
    EXPECT_EQ(foreign->get_header_value("Content-Type"), "application/json");
    EXPECT_NE(foreign->body.find("\"error\":\"the Host header must be"), std::string::npos) << foreign->body;
    auto text = client.Post("/api/action", "{}", "text/plain");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->status, 415);
}

} // namespace
