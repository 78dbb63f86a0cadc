#include "sim/http/RequestGate.h"

#include <algorithm>
#include <cctype>

namespace zimtone::http {

namespace {

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool is_loopback(const std::string& address) {
    return address == "127.0.0.1" || address == "::1" || address == "::ffff:127.0.0.1";
}

// Routes are fixed names and plain file names, so anything that walks, hides or escapes is
// refused outright.
bool is_clean_path(const std::string& path) {
    if (path.empty() || path.front() != '/' || path.size() > kMaxPathLength)
        return false;
    if (path.find("..") != std::string::npos || path.find("//") != std::string::npos)
        return false;
    return std::all_of(path.begin(), path.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '@';
    });
}

bool is_json(const std::string& content_type) {
    std::string_view type(content_type);
    type = type.substr(0, type.find(';'));
    while (!type.empty() && type.back() == ' ')
        type.remove_suffix(1);
    return equal_ignoring_case(type, "application/json");
}

// A declared length of at most 19 digits: any more could not be a body this server reads.
std::optional<size_t> parse_length(const std::string& text) {
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return static_cast<size_t>(std::stoull(text));
}

bool carries_body(const RequestFacts& r) {
    return !r.transfer_encoding.empty() || (r.content_length && *r.content_length != "0");
}

// How the body of a state change is framed: a declared length within the cap, or chunks (whose
// total the server caps as it reads them). Anything the server would have to read to the end
// before knowing its size is refused.
std::optional<Refusal> refuse_framing(const RequestFacts& r) {
    if (!r.content_encoding.empty() && !equal_ignoring_case(r.content_encoding, "identity"))
        return Refusal{415, "the request body must not be compressed"};
    if (!r.transfer_encoding.empty()) {
        if (!equal_ignoring_case(r.transfer_encoding, "chunked"))
            return Refusal{501, "the only transfer encoding understood is chunked"};
        if (r.content_length)
            return Refusal{400, "a request body has a Content-Length or is chunked, not both"};
        return std::nullopt;
    }
    if (!r.content_length)
        return Refusal{411, "the request body needs a Content-Length"};
    auto length = parse_length(*r.content_length);
    if (!length)
        return Refusal{400, "malformed Content-Length"};
    if (*length > kMaxRequestBody)
        return Refusal{413, "the request body is larger than 16 KiB"};
    return std::nullopt;
}

} // namespace

bool names_this_server(std::string_view host, int port) {
    std::string suffix = ":" + std::to_string(port);
    if (host.size() <= suffix.size() || !host.ends_with(suffix))
        return false;
    std::string_view name = host.substr(0, host.size() - suffix.size());
    return name == "127.0.0.1" || equal_ignoring_case(name, "localhost");
}

bool is_own_origin(std::string_view origin, int port) {
    // Browsers send the scheme in lower case; any other spelling is not the page.
    constexpr std::string_view scheme = "http://";
    return origin.starts_with(scheme) && names_this_server(origin.substr(scheme.size()), port);
}

std::optional<Refusal> refuse_request(const RequestFacts& r, int port) {
    if (!is_loopback(r.remote_addr))
        return Refusal{403, "only clients on this machine are served"};
    if (!names_this_server(r.host, port))
        return Refusal{421, "the Host header must be 127.0.0.1:" + std::to_string(port) +
                                " or localhost:" + std::to_string(port)};
    if (!is_clean_path(r.path))
        return Refusal{400, "malformed path"};
    bool reads = r.method == "GET" || r.method == "HEAD";
    if (!reads && r.method != "POST")
        return Refusal{405, "method not allowed"};
    if (reads)
        return carries_body(r) ? std::optional(Refusal{400, "a " + r.method + " request carries no body"})
                               : std::nullopt;
    if (!r.origin.empty() && !is_own_origin(r.origin, port))
        return Refusal{403, "requests from another origin may not change anything"};
    if (!r.sec_fetch_site.empty() && r.sec_fetch_site != "same-origin" && r.sec_fetch_site != "none")
        return Refusal{403, "requests from another site may not change anything"};
    if (!is_json(r.content_type))
        return Refusal{415, "the request body must be application/json"};
    return refuse_framing(r);
}

} // namespace zimtone::http
