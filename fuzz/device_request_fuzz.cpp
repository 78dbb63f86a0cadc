// An HTTP request to a loopback page: remote address, request line and headers from the input,
// one per line. A request the gate lets through must come from loopback, name this server, have
// a clean path and a known method; a read carries no body; a state change comes from this page
// as JSON, uncompressed, with a declared length within the cap or in chunks. A refusal carries a
// client error status (or 501 for a transfer coding it does not know) and a message.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim/http/RequestGate.h"

using namespace zimtone::http;

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

bool names_server(const std::string& host) {
    std::string port = std::to_string(kPort);
    return host == "127.0.0.1:" + port || lower(host) == "localhost:" + port;
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
        if (name == "host")
            request.host = value;
        else if (name == "origin")
            request.origin = value;
        else if (name == "sec-fetch-site")
            request.sec_fetch_site = value;
        else if (name == "content-type")
            request.content_type = value;
        else if (name == "content-encoding")
            request.content_encoding = value;
        else if (name == "transfer-encoding")
            request.transfer_encoding = value;
        else if (name == "content-length")
            request.content_length = value;
    }

    auto refusal = refuse_request(request, kPort);
    if (refusal) {
        bool client_error = refusal->status >= 400 && refusal->status <= 499;
        if ((!client_error && refusal->status != 501) || refusal->message.empty())
            std::abort();
        return 0;
    }
    bool loopback = request.remote_addr == "127.0.0.1" || request.remote_addr == "::1" ||
                    request.remote_addr == "::ffff:127.0.0.1";
    bool clean = request.path.starts_with('/') && request.path.size() <= kMaxPathLength &&
                 request.path.find("..") == std::string::npos &&
                 request.path.find("//") == std::string::npos &&
                 std::none_of(request.path.begin(), request.path.end(),
                              [](unsigned char c) { return c < 0x21 || c >= 0x7f || c == '%' || c == '?'; });
    if (!loopback || !names_server(request.host) || !clean)
        std::abort();
    bool declared_within_cap = request.content_length && !request.content_length->empty() &&
                               request.content_length->size() <= 19 &&
                               request.content_length->find_first_not_of("0123456789") == std::string::npos &&
                               std::stoull(*request.content_length) <= kMaxRequestBody;
    if (request.method == "GET" || request.method == "HEAD") {
        bool no_body =
            request.transfer_encoding.empty() && (!request.content_length || *request.content_length == "0");
        if (!no_body)
            std::abort();
        return 0;
    }
    bool own_origin = request.origin.empty() ||
                      (request.origin.starts_with("http://") && names_server(request.origin.substr(7)));
    bool same_site = request.sec_fetch_site.empty() || request.sec_fetch_site == "same-origin" ||
                     request.sec_fetch_site == "none";
    bool plain = request.content_encoding.empty() || lower(request.content_encoding) == "identity";
    bool framed =
        lower(request.transfer_encoding) == "chunked" ? !request.content_length : declared_within_cap;
    if (request.method != "POST" || !own_origin || !same_site || !plain || !framed ||
        !lower(request.content_type).starts_with("application/json"))
        std::abort();
    return 0;
}
