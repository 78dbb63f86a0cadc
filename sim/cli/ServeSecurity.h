// The rules every request to the device page passes before it is routed: loopback clients only,
// a Host header naming this server (so a foreign name resolved to 127.0.0.1 cannot reach it),
// state changes only from this page's own origin and only as JSON, and clean paths.
#pragma once

#include <optional>
#include <string>

namespace zimtone::cli {

struct RequestFacts {
    std::string method;
    std::string path; // as decoded by the server
    std::string remote_addr;
    std::string host;
    std::string origin;         // empty when absent
    std::string sec_fetch_site; // empty when absent
    std::string content_type;
};

struct Refusal {
    int status;
    std::string message;
};

// nullopt when the request may go on to its route.
std::optional<Refusal> refuse_request(const RequestFacts& request, int port);

// The largest request body any route accepts.
inline constexpr size_t kMaxRequestBody = 16 * 1024;

} // namespace zimtone::cli
