// The gate in front of every route of the device page.
#include <gtest/gtest.h>

#include "sim/cli/ServeSecurity.h"

namespace {

using zimtone::cli::RequestFacts;
using zimtone::cli::refuse_request;

constexpr int kPort = 8123;

RequestFacts get(std::string path) { return { "GET", std::move(path), "127.0.0.1", "127.0.0.1:8123", "", "", "" }; }

RequestFacts post(std::string origin, std::string site = "", std::string type = "application/json") {
    return { "POST", "/api/action", "127.0.0.1", "localhost:8123", std::move(origin), std::move(site), std::move(type) };
}

TEST(ServeSecurity, RequestsAreRefusedWithTheRightStatus) {
    struct Case {
        const char* what;
        RequestFacts request;
        int status; // 0: allowed
    };
    auto with = [](RequestFacts r, auto change) {
        change(r);
        return r;
    };
    const Case cases[] = {
        { "the page", get("/"), 0 },
        { "the page over IPv6 loopback", with(get("/"), [](auto& r) { r.remote_addr = "::1"; }), 0 },
        { "a client elsewhere", with(get("/"), [](auto& r) { r.remote_addr = "192.168.1.20"; }), 403 },
        { "a foreign Host (DNS rebinding)", with(get("/"), [](auto& r) { r.host = "evil.example:8123"; }), 421 },
        { "the right name on another port", with(get("/"), [](auto& r) { r.host = "127.0.0.1:8124"; }), 421 },
        { "no Host header", with(get("/"), [](auto& r) { r.host = ""; }), 421 },
        { "Host without port", with(get("/"), [](auto& r) { r.host = "localhost"; }), 421 },
        { "a walk up", get("/../etc/passwd"), 400 },
        { "a walk up inside", get("/app.js/../../secret"), 400 },
        { "a doubled slash", get("//etc/passwd"), 400 },
        { "a backslash", get("/..\\secret"), 400 },
        { "a NUL byte", get(std::string("/app.js\0.png", 12)), 400 },
        { "an empty path", get(""), 400 },
        { "an overlong path", get("/" + std::string(300, 'a')), 400 },
        { "a DELETE", with(get("/"), [](auto& r) { r.method = "DELETE"; }), 405 },
        { "a POST from the page", post("http://localhost:8123"), 0 },
        { "a POST from the page at its numeric name", post("http://127.0.0.1:8123"), 0 },
        { "a POST from a tool that sends no Origin", post(""), 0 },
        { "a POST with a charset", post("", "", "application/json; charset=utf-8"), 0 },
        { "a POST from another site", post("http://evil.example"), 403 },
        { "a POST from another port", post("http://127.0.0.1:9999"), 403 },
        { "a POST from a sandboxed frame", post("null"), 403 },
        { "a POST marked cross-site", post("", "cross-site"), 403 },
        { "a POST marked same-site", post("", "same-site"), 403 },
        { "a form POST", post("", "", "application/x-www-form-urlencoded"), 415 },
        { "a text POST", post("", "", "text/plain"), 415 },
    };
    for (const auto& c : cases) {
        auto refusal = refuse_request(c.request, kPort);
        EXPECT_EQ(refusal ? refusal->status : 0, c.status) << c.what;
        if (refusal) {
            EXPECT_FALSE(refusal->message.empty()) << c.what;
        }
    }
}

TEST(ServeSecurity, RefusalsSayWhatIsWrong) {
    RequestFacts foreign = get("/");
    foreign.host = "evil.example:8123";
    auto refusal = refuse_request(foreign, kPort);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "the Host header must be 127.0.0.1:8123 or localhost:8123");
}

} // namespace
