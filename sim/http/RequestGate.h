// The rules every request to a loopback page passes before it is routed, the same for the device
// page of `zimtone serve` and the Settings app's page: loopback clients only, a Host header naming
// this server (so a foreign name resolved to 127.0.0.1 cannot reach it), clean paths, and state
// changes only from the page's own origin, as an uncompressed JSON body of bounded, declared size.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zimtone::http {

// The largest request body any route accepts, however it is sent.
inline constexpr size_t kMaxRequestBody = 16 * 1024;
// The longest path any route answers to.
inline constexpr size_t kMaxPathLength = 256;

struct RequestFacts {
    std::string method;
    std::string path; // as decoded by the server
    std::string remote_addr;
    std::string host;
    std::string origin;         // empty when absent
    std::string sec_fetch_site; // empty when absent
    std::string content_type;
    std::string content_encoding;              // empty when absent
    std::string transfer_encoding;             // empty when absent
    std::optional<std::string> content_length; // nullopt when absent
};

struct Refusal {
    int status;
    std::string message;
};

// nullopt when the request may go on to its route.
std::optional<Refusal> refuse_request(const RequestFacts& request, int port);

// "127.0.0.1:PORT" or "localhost:PORT", the name in any letter case; nothing else.
bool names_this_server(std::string_view host, int port);

// "http://" and a Host that names this server: the page's own origin.
bool is_own_origin(std::string_view origin, int port);

} // namespace zimtone::http
