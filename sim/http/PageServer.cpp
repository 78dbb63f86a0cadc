#include "sim/http/PageServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "sim/http/BoundedStream.h"
#include "sim/http/ConnectionPool.h"
#include "sim/http/RequestGate.h"

namespace zimtone::http {

using namespace std::chrono_literals;

namespace {

// Far more than a browser opens to one page (six); a connection beyond it waits for a worker.
constexpr size_t kMaxWorkers = 128;
constexpr size_t kMaxRequestsPerConnection = 100;
// cpp-httplib listens with a queue of five, so a burst of connections has some dropped and
// retried a second later; the queue holds as many as there are workers.
constexpr int kListenQueue = static_cast<int>(kMaxWorkers);
constexpr std::chrono::milliseconds kIdleTime = 5s;
// A browser sends a head in one piece of about a kilobyte; a client that needs longer is not one.
constexpr BoundedStream::Limits kLimits{
    .head_time = 5s,
    .head_bytes = 32 * 1024,
    .body_time = 10s,
    // Room for a body at the cap sent as chunks of a single byte, each with its framing.
    .body_bytes = 8 * kMaxRequestBody,
    .write_time = 10s,
};
// What is still read and dropped after the last answer on a connection, so that the client reads
// that answer before the connection is reset.
constexpr size_t kDrainBytes = 256 * 1024;
constexpr std::chrono::milliseconds kDrainTime = 1s;

void refuse(httplib::Response& res, int status, const std::string& message) {
    res.status = status;
    res.set_content(nlohmann::json{{"error", message}}.dump(), "application/json");
}

RequestFacts facts_of(const httplib::Request& req) {
    RequestFacts facts{req.method,
                       req.path,
                       req.remote_addr,
                       req.get_header_value("Host"),
                       req.get_header_value("Origin"),
                       req.get_header_value("Sec-Fetch-Site"),
                       req.get_header_value("Content-Type"),
                       req.get_header_value("Content-Encoding"),
                       req.get_header_value("Transfer-Encoding"),
                       std::nullopt};
    if (req.has_header("Content-Length"))
        facts.content_length = req.get_header_value("Content-Length");
    return facts;
}

bool may_carry_body(const httplib::Request& req) {
    return (req.method != "GET" && req.method != "HEAD") || req.has_header("Content-Length") ||
           req.has_header("Transfer-Encoding");
}

// Only SO_REUSEADDR: cpp-httplib's default adds SO_REUSEPORT, with which a second server on the
// same port binds too and takes half of the connections.
void reuse_address_only(socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

// Ends a connection so that its last answer arrives: no more is sent, what the client still
// sends is read and dropped for a moment, and then the socket closes. Closing at once with
// unread bytes would reset the connection, and the client could lose the answer.
void close_after_answer(int sock) {
    ::shutdown(sock, SHUT_WR);
    auto until = std::chrono::steady_clock::now() + kDrainTime;
    char discard[4096];
    for (size_t drained = 0; drained < kDrainBytes;) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        pollfd p{sock, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        ssize_t n = ::recv(sock, discard, sizeof discard, MSG_DONTWAIT);
        if (n <= 0)
            break;
        drained += static_cast<size_t>(n);
    }
    ::close(sock);
}

} // namespace

PageServer::PageServer() {
    set_socket_options(reuse_address_only);
    set_payload_max_length(kMaxRequestBody);
    new_task_queue = [] { return new ConnectionPool(kMaxWorkers); };
    set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (auto refusal = refuse_request(facts_of(req), port_)) {
            refuse(res, refusal->status, refusal->message);
            return HandlerResponse::Handled;
        }
        if (on_admitted)
            on_admitted(req, res);
        return HandlerResponse::Unhandled;
    });
}

int PageServer::bind_loopback(int port) {
    if (port == 0)
        port_ = bind_to_any_port("127.0.0.1");
    else
        port_ = bind_to_port("127.0.0.1", port) ? port : -1;
    if (port_ <= 0)
        return port_ = -1;
    ::listen(svr_sock_, kListenQueue);
    return port_;
}

void PageServer::post_json(const std::string& pattern, BodyHandler handler) {
    Post(pattern, [handler = std::move(handler)](const httplib::Request& req, httplib::Response& res,
                                                 const httplib::ContentReader& read) {
        std::string body;
        bool too_large = false;
        bool whole = read([&](const char* data, size_t length) {
            too_large = length > kMaxRequestBody - body.size();
            if (!too_large)
                body.append(data, length);
            return !too_large;
        });
        // The library itself answers 413 for a declared length over the cap.
        if (too_large || res.status == 413)
            return refuse(res, 413, "the request body is larger than 16 KiB");
        if (!whole)
            return refuse(res, 400, "the request body could not be read");
        handler(req, body, res);
    });
}

bool PageServer::process_and_close_socket(socket_t sock) {
    BoundedStream stream(sock, kLimits, [this] { return svr_sock_ == INVALID_SOCKET; });
    bool answered = true;
    for (size_t served = 0; served < kMaxRequestsPerConnection && stream.wait_for_request(kIdleTime);
         ++served) {
        stream.begin_head();
        bool client_closes = false;
        // A request that may carry a body is the last on its connection: whatever of the body a
        // refusal left unread must never be taken for the next request.
        bool last = served + 1 == kMaxRequestsPerConnection;
        answered = process_request(stream, last, client_closes, [&](httplib::Request& req) {
            stream.begin_body();
            if (may_carry_body(req)) {
                last = true;
                req.headers.erase("Connection");
                req.set_header("Connection", "close");
            }
        });
        if (!answered || client_closes || last || stream.limit_reached())
            break;
    }
    close_after_answer(sock);
    return answered;
}

} // namespace zimtone::http
