#include "sim/cli/ServeSecurity.h"

#include <algorithm>
#include <cctype>

namespace zimtone::cli {

namespace {

bool is_loopback(const std::string& address) {
    return address == "127.0.0.1" || address == "::1" || address == "::ffff:127.0.0.1";
}

bool names_this_server(const std::string& host, int port) {
    std::string suffix = ":" + std::to_string(port);
    return host == "127.0.0.1" + suffix || host == "localhost" + suffix;
}

bool is_own_origin(const std::string& origin, int port) {
    return origin == "http://127.0.0.1:" + std::to_string(port) || origin == "http://localhost:" + std::to_string(port);
}

// Routes are fixed names, so anything that walks, hides or escapes is refused outright.
bool is_clean_path(const std::string& path) {
    if (path.empty() || path.front() != '/' || path.size() > 256) return false;
    if (path.find("..") != std::string::npos || path.find("//") != std::string::npos) return false;
    return std::all_of(path.begin(), path.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_';
    });
}

bool is_json(const std::string& content_type) {
    std::string type = content_type.substr(0, content_type.find(';'));
    while (!type.empty() && type.back() == ' ') type.pop_back();
    std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::tolower(c); });
    return type == "application/json";
}

} // namespace

std::optional<Refusal> refuse_request(const RequestFacts& r, int port) {
    if (!is_loopback(r.remote_addr)) return Refusal { 403, "only clients on this machine are served" };
    if (!names_this_server(r.host, port))
        return Refusal { 421, "the Host header must be 127.0.0.1:" + std::to_string(port) + " or localhost:" +
                                  std::to_string(port) };
    if (!is_clean_path(r.path)) return Refusal { 400, "malformed path" };
    bool reads = r.method == "GET" || r.method == "HEAD";
    if (!reads && r.method != "POST") return Refusal { 405, "method not allowed" };
    if (reads) return std::nullopt;
    if (!r.origin.empty() && !is_own_origin(r.origin, port))
        return Refusal { 403, "requests from another origin may not change anything" };
    if (!r.sec_fetch_site.empty() && r.sec_fetch_site != "same-origin" && r.sec_fetch_site != "none")
        return Refusal { 403, "requests from another site may not change anything" };
    if (!is_json(r.content_type)) return Refusal { 415, "the request body must be application/json" };
    return std::nullopt;
}

} // namespace zimtone::cli
