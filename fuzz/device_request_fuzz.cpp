// An HTTP request to the device page: remote address, request line and headers from the input,
// one per line. A request the gate lets through must come from loopback, name this server, have
// a clean path and a known method, and, when it changes state, come from this page as JSON. A
// refusal carries an HTTP error status and a message.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim/cli/ServeSecurity.h"

using namespace zimtone::cli;

namespace {

constexpr int kPort = 8080;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string next_line(std::string_view& input) {
    size_t end = input.find('\n');
    std::string line(input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    RequestFacts request;
    request.remote_addr = next_line(input);
    std::string request_line = next_line(input);
    request.method = request_line.substr(0, request_line.find(' '));
    if (size_t space = request_line.find(' '); space != std::string::npos)
        request.path = request_line.substr(space + 1, request_line.find(' ', space + 1) - space - 1);
    while (!input.empty()) {
        std::string line = next_line(input);
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string name = lower(line.substr(0, colon)), value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        if (name == "host") request.host = value;
        else if (name == "origin") request.origin = value;
        else if (name == "sec-fetch-site") request.sec_fetch_site = value;
        else if (name == "content-type") request.content_type = value;
    }

    auto refusal = refuse_request(request, kPort);
    if (refusal) {
        if (refusal->status < 400 || refusal->status > 499 || refusal->message.empty())
            std::abort();
        return 0;
    }
    std::string port = std::to_string(kPort);
    bool loopback = request.remote_addr == "127.0.0.1" || request.remote_addr == "::1" ||
                    request.remote_addr == "::ffff:127.0.0.1";
    bool this_server = request.host == "127.0.0.1:" + port || request.host == "localhost:" + port;
    bool clean = request.path.starts_with('/') && request.path.find("..") == std::string::npos &&
                 request.path.find("//") == std::string::npos &&
                 std::none_of(request.path.begin(), request.path.end(),
                              [](unsigned char c) { return c < 0x21 || c >= 0x7f || c == '%' || c == '?'; });
    if (!loopback || !this_server || !clean)
        std::abort();
    if (request.method == "GET" || request.method == "HEAD")
        return 0;
    bool own_origin = request.origin.empty() || request.origin == "http://127.0.0.1:" + port ||
                      request.origin == "http://localhost:" + port;
    bool same_site = request.sec_fetch_site.empty() || request.sec_fetch_site == "same-origin" ||
                     request.sec_fetch_site == "none";
    if (request.method != "POST" || !own_origin || !same_site ||
        !lower(request.content_type).starts_with("application/json"))
        std::abort();
    return 0;
}
