// The gate in front of every route of both loopback pages, the device page and the Settings app's.
#include <gtest/gtest.h>

#include "sim/http/RequestGate.h"

namespace {

using zimtone::http::refuse_request;
using zimtone::http::RequestFacts;

constexpr int kPort = 8123;

RequestFacts get(std::string path) {
    RequestFacts r;
    r.method = "GET";
    r.path = std::move(path);
    r.remote_addr = "127.0.0.1";
    r.host = "127.0.0.1:8123";
    return r;
}

RequestFacts post(std::string origin, std::string site = "", std::string type = "application/json") {
    RequestFacts r = get("/api/action");
    r.method = "POST";
    r.host = "localhost:8123";
    r.origin = std::move(origin);
    r.sec_fetch_site = std::move(site);
    r.content_type = std::move(type);
    r.content_length = "2";
    return r;
}

template <class Change> RequestFacts with(RequestFacts r, Change change) {
    change(r);
    return r;
}

TEST(RequestGate, RequestsAreRefusedWithTheRightStatus) {
    struct Case {
        const char* what;
        RequestFacts request;
        int status; // 0: allowed
    };
    const Case cases[] = {
        {"the page", get("/"), 0},
        {"the page over IPv6 loopback", with(get("/"), [](auto& r) { r.remote_addr = "::1"; }), 0},
        {"a bundle image with a scale suffix", get("/bundle/Icon@2x.png"), 0},
        {"a client elsewhere", with(get("/"), [](auto& r) { r.remote_addr = "192.168.1.20"; }), 403},
        {"a foreign Host (DNS rebinding)", with(get("/"), [](auto& r) { r.host = "evil.example:8123"; }),
         421},
        {"the right name on another port", with(get("/"), [](auto& r) { r.host = "127.0.0.1:8124"; }), 421},
        {"no Host header", with(get("/"), [](auto& r) { r.host = ""; }), 421},
        {"Host without port", with(get("/"), [](auto& r) { r.host = "localhost"; }), 421},
        {"a walk up", get("/../etc/passwd"), 400},
        {"a walk up inside", get("/app.js/../../secret"), 400},
        {"a doubled slash", get("//etc/passwd"), 400},
        {"a backslash", get("/..\\secret"), 400},
        {"a NUL byte", get(std::string("/app.js\0.png", 12)), 400},
        {"an empty path", get(""), 400},
        {"the longest path", get("/" + std::string(255, 'a')), 0},
        {"an overlong path", get("/" + std::string(256, 'a')), 400},
        {"a DELETE", with(get("/"), [](auto& r) { r.method = "DELETE"; }), 405},
        {"a GET with a body", with(get("/"), [](auto& r) { r.content_length = "5"; }), 400},
        {"a GET with chunks", with(get("/"), [](auto& r) { r.transfer_encoding = "chunked"; }), 400},
        {"a GET with an empty body", with(get("/"), [](auto& r) { r.content_length = "0"; }), 0},
        {"a POST from the page", post("http://localhost:8123"), 0},
        {"a POST from the page at its numeric name", post("http://127.0.0.1:8123"), 0},
        {"a POST from the page named in capitals", post("http://LOCALHOST:8123"), 0},
        {"a POST from a tool that sends no Origin", post(""), 0},
        {"a POST with a charset", post("", "", "application/json; charset=utf-8"), 0},
        {"a POST with the type in capitals", post("", "", "Application/JSON"), 0},
        {"a POST from another site", post("http://evil.example"), 403},
        {"a POST from another port", post("http://127.0.0.1:9999"), 403},
        {"a POST from the page over https", post("https://127.0.0.1:8123"), 403},
        {"a POST from a sandboxed frame", post("null"), 403},
        {"a POST marked cross-site", post("", "cross-site"), 403},
        {"a POST marked same-site", post("", "same-site"), 403},
        {"a form POST", post("", "", "application/x-www-form-urlencoded"), 415},
        {"a text POST", post("", "", "text/plain"), 415},
        {"a JSON look-alike type", post("", "", "application/jsonp"), 415},
        {"a body of the largest size", with(post(""), [](auto& r) { r.content_length = "16384"; }), 0},
        {"a body one byte over", with(post(""), [](auto& r) { r.content_length = "16385"; }), 413},
        {"a body of absurd length",
         with(post(""), [](auto& r) { r.content_length = "99999999999999999999"; }), 400},
        {"a length that is not a number", with(post(""), [](auto& r) { r.content_length = "12abc"; }), 400},
        {"a negative length", with(post(""), [](auto& r) { r.content_length = "-1"; }), 400},
        {"a body without a length", with(post(""), [](auto& r) { r.content_length.reset(); }), 411},
        {"a chunked body",
         with(post(""),
              [](auto& r) {
                  r.content_length.reset();
                  r.transfer_encoding = "chunked";
              }),
         0},
        {"chunks and a length", with(post(""), [](auto& r) { r.transfer_encoding = "chunked"; }), 400},
        {"an unknown transfer encoding",
         with(post(""),
              [](auto& r) {
                  r.content_length.reset();
                  r.transfer_encoding = "gzip, chunked";
              }),
         501},
        {"a compressed body", with(post(""), [](auto& r) { r.content_encoding = "gzip"; }), 415},
        {"an identity-encoded body", with(post(""), [](auto& r) { r.content_encoding = "identity"; }), 0},
    };
    for (const auto& c : cases) {
        auto refusal = refuse_request(c.request, kPort);
        EXPECT_EQ(refusal ? refusal->status : 0, c.status) << c.what;
        if (refusal) {
            EXPECT_FALSE(refusal->message.empty()) << c.what;
        }
    }
}

TEST(RequestGate, RefusalsSayWhatIsWrong) {
    struct Case {
        RequestFacts request;
        const char* message;
    };
    const Case cases[] = {
        {with(get("/"), [](auto& r) { r.host = "evil.example:8123"; }),
         "the Host header must be 127.0.0.1:8123 or localhost:8123"},
        {with(post(""), [](auto& r) { r.content_length = "20000"; }),
         "the request body is larger than 16 KiB"},
        {with(post(""), [](auto& r) { r.content_length.reset(); }),
         "the request body needs a Content-Length"},
    };
    for (const auto& c : cases) {
        auto refusal = refuse_request(c.request, kPort);
        ASSERT_TRUE(refusal) << c.message;
        EXPECT_EQ(refusal->message, c.message);
    }
}

TEST(RequestGate, OnlyThisLoopbackHostAndPortInAnyCase) {
    struct Case {
        const char* host;
        bool allowed;
    } cases[] = {{"127.0.0.1:8080", true},   {"localhost:8080", true},
                 {"LocalHost:8080", true},   {"LOCALHOST:8080", true},
                 {"127.0.0.1:8081", false},  {"evil.example:8080", false},
                 {"127.0.0.1", false},       {"", false},
                 {":8080", false},           {"127.0.0.1:8080.evil.example", false},
                 {"x127.0.0.1:8080", false}, {"localhost.:8080", false},
                 {"[::1]:8080", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(zimtone::http::names_this_server(c.host, 8080), c.allowed) << c.host;
        EXPECT_EQ(zimtone::http::is_own_origin(std::string("http://") + c.host, 8080), c.allowed) << c.host;
    }
    for (const char* origin :
         {"null", "https://127.0.0.1:8080", "HTTP://localhost:8080", "127.0.0.1:8080", ""})
        EXPECT_FALSE(zimtone::http::is_own_origin(origin, 8080)) << origin;
}

} // namespace
