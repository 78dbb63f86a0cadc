// Request bodies, chunked and plain, sent over a real connection to the server both loopback
// pages run on, with each page's handling of an action behind it: the device page's planner of
// controls, and for the Settings app's page a `set` written to the settings file through the
// settings writer, as the pane's rows write it. Every request must be answered, or its connection
// closed, within a bound; no route ever sees more than the cap; a well-framed body within the cap
// reaches its route unchanged and one over it is answered 413 before the rest is read; the
// settings file keeps every key it started with and stays readable. The run's -malloc_limit_mb
// and -rss_limit_mb hold the memory.
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/SettingsFile.h"
#include "sim/cli/ServeActions.h"
#include "sim/http/PageServer.h"
#include "sim/http/RequestGate.h"

namespace fs = std::filesystem;
using nlohmann::json;
using namespace platform::foundation;
using zimtone::http::kMaxRequestBody;
using zimtone::http::PageServer;

namespace {

constexpr const char* kSettingsPath = "/User/Library/Preferences/org.quillhaven.zimtonepro2.plist";
// The keys the file starts with; a `set` names one of them by its row, as the pane's rows do.
constexpr std::array<const char*, 6> kKeys = {"BannersEnabled",    "BannerAlpha",     "BannerColour",
                                              "LockscreenEnabled", "LockscreenAlpha", "CustomText"};
constexpr auto kAnswerBound = std::chrono::seconds(8);

std::mutex g_seen_mutex;
std::optional<std::string> g_seen_body; // the body the last route call saw

void saw(const std::string& body) {
    if (body.size() > kMaxRequestBody)
        std::abort();
    std::lock_guard lock(g_seen_mutex);
    g_seen_body = body;
}

Ref<Object> value_of(const json& value) {
    if (value.is_boolean())
        return NSNumber::numberWithBool(value.get<bool>());
    if (value.is_number())
        return NSNumber::numberWithDouble(value.get<double>());
    if (value.is_string())
        return ns(value.get<std::string>());
    return nullptr;
}

void settings_action(const std::string& body, httplib::Response& res) {
    saw(body);
    json action = json::parse(body, nullptr, false);
    if (!action.is_object() || action["type"] != "set" || !action["row"].is_number_integer() ||
        !action.contains("value"))
        return res.set_content("{}", "application/json");
    Ref<Object> value = value_of(action["value"]);
    if (!value)
        return res.set_content("{}", "application/json");
    const char* key = kKeys[static_cast<size_t>(action["row"].get<int64_t>()) % kKeys.size()];
    (void)update_dictionary_file(kSettingsPath,
                                 [&](NSMutableDictionary& dictionary) { dictionary.set(key, value); });
    res.set_content("{}", "application/json");
}

void device_action(const std::string& body, httplib::Response& res) {
    saw(body);
    json request = json::parse(body, nullptr, false);
    if (!request.is_discarded())
        (void)zimtone::cli::plan_action(request);
    res.set_content("{}", "application/json");
}

struct Page {
    PageServer server;
    int port{-1};
    std::thread thread;
};

// Both pages' servers, started once for the whole run on a device of their own.
Page& page(bool settings) {
    static bool ready = [] {
        static const fs::path root =
            fs::temp_directory_path() / ("page_body_fuzz." + std::to_string(getpid()));
        fs::create_directories(root);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(root, ec);
        });
        set_device_root(root);
        (void)update_dictionary_file(kSettingsPath, [](NSMutableDictionary& dictionary) {
            for (const char* key : kKeys)
                dictionary.set(key, NSNumber::numberWithBool(true));
        });
        return true;
    }();
    (void)ready;
    static Page pages[2];
    Page& chosen = pages[settings ? 0 : 1];
    if (chosen.port < 0) {
        chosen.server.post_json("/api/action", [settings](const httplib::Request&, const std::string& body,
                                                          httplib::Response& res) {
            settings ? settings_action(body, res) : device_action(body, res);
        });
        chosen.port = chosen.server.bind_loopback(0);
        if (chosen.port < 0)
            std::abort();
        chosen.thread = std::thread([&chosen] { chosen.server.listen_after_bind(); });
        chosen.thread.detach();
    }
    return chosen;
}

bool answer_complete(const std::string& answer) {
    size_t head_end = answer.find("\r\n\r\n");
    if (head_end == std::string::npos)
        return false;
    size_t at = answer.find("Content-Length: ");
    size_t length =
        at == std::string::npos || at > head_end ? 0 : std::strtoul(answer.c_str() + at + 16, nullptr, 10);
    return answer.size() >= head_end + 4 + length;
}

// Sends the request while reading the answer, as a client that does not wait for the server to
// read everything would, and then says it has no more to send. The answer, or nullopt when neither an answer
// nor a close came in time.
std::optional<std::string> send_request(int port, const std::string& request) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 && errno != EINPROGRESS)
        std::abort();
    std::string answer;
    size_t sent = 0;
    bool can_send = true;
    auto until = std::chrono::steady_clock::now() + kAnswerBound;
    while (!answer_complete(answer)) {
        if (std::chrono::steady_clock::now() > until) {
            ::close(fd);
            return std::nullopt;
        }
        pollfd p{fd, static_cast<short>(POLLIN | (can_send && sent < request.size() ? POLLOUT : 0)), 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        if (p.revents & POLLOUT) {
            ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
            if (n > 0)
                sent += static_cast<size_t>(n);
            else if (errno != EAGAIN)
                can_send = false;
            // The whole request is out: a body shorter than it said ends here, not at a timeout.
            if (sent == request.size())
                ::shutdown(fd, SHUT_WR);
        }
        if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
            char chunk[4096];
            ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN))
                break;
            if (n > 0)
                answer.append(chunk, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    return answer;
}

int status_of(const std::string& answer) {
    return answer.rfind("HTTP/1.1 ", 0) == 0 && answer.size() >= 12 ? std::atoi(answer.c_str() + 9) : 0;
}

std::string chunked(const std::string& body, size_t chunk_size) {
    std::string framed;
    for (size_t at = 0; at < body.size(); at += chunk_size) {
        std::string piece = body.substr(at, chunk_size);
        char length[32];
        std::snprintf(length, sizeof length, "%zx\r\n", piece.size());
        framed += length + piece + "\r\n";
    }
    return framed + "0\r\n\r\n";
}

void check_settings_file() {
    auto dictionary = read_dictionary_or_empty(kSettingsPath);
    for (const char* key : kKeys)
        if (!dictionary->objectForKey(ns(key).get()))
            std::abort();
}

} // namespace

// Input: a byte choosing the page and the framing, two bytes of chunk size, one of repetitions,
// then the body's bytes (repeated, so that bodies reach far past the cap).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    bool settings = data[0] & 1;
    int framing =
        (data[0] >> 1) & 3; // 0 length, 1 chunks, 2 raw bytes after a chunked head, 3 a wrong length
    size_t chunk_size = (size_t{data[1]} << 8 | data[2]) + 1;
    size_t repeats = (data[3] & 63) + 1;
    std::string payload(reinterpret_cast<const char*>(data + 4), size - 4);
    std::string body;
    for (size_t i = 0; i < repeats; ++i)
        body += payload;

    Page& target = page(settings);
    std::string port = std::to_string(target.port);
    std::string head = "POST /api/action HTTP/1.1\r\nHost: 127.0.0.1:" + port +
                       "\r\nOrigin: http://127.0.0.1:" + port + "\r\nContent-Type: application/json\r\n";
    std::string request;
    switch (framing) {
    case 0:
        request = head + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        break;
    case 1:
        request = head + "Transfer-Encoding: chunked\r\n\r\n" + chunked(body, chunk_size);
        break;
    case 2:
        request = head + "Transfer-Encoding: chunked\r\n\r\n" + body;
        break;
    default:
        request = head + "Content-Length: " + std::to_string(chunk_size) + "\r\n\r\n" + body;
        break;
    }
    {
        std::lock_guard lock(g_seen_mutex);
        g_seen_body.reset();
    }
    auto answer = send_request(target.port, request);
    if (!answer)
        std::abort(); // neither answered nor closed: a hang
    int status = status_of(*answer);
    if (framing <= 1) {
        std::lock_guard lock(g_seen_mutex);
        if (body.size() > kMaxRequestBody && (status != 413 || g_seen_body))
            std::abort();
        if (body.size() <= kMaxRequestBody && (status != 200 || g_seen_body != body))
            std::abort();
    }
    if (settings)
        check_settings_file();
    return 0;
}
