// An HTTP request head as the Settings host's page receives it: the first line names the method
// and path, the rest are headers. The shared gate's Host and Origin checks are compared with a
// plain reading of the rule (loopback name and this port, the name's letter case aside), and a
// file the page hands out must be a regular file inside the served folder, reached without "."
// or ".." segments.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

#include "sim/hosts/SettingsHostGuard.h"
#include "sim/http/RequestGate.h"

namespace fs = std::filesystem;
using namespace zimtone::sim;
using zimtone::http::is_own_origin;
using zimtone::http::names_this_server;

namespace {

constexpr int kPort = 8123;

// A served folder with a file, a nested file, and links that lead inside and outside it.
const fs::path& served_root() {
    static const fs::path root = [] {
        fs::path base = fs::temp_directory_path() / ("settings_request_fuzz." + std::to_string(getpid()));
        fs::create_directories(base / "www" / "css");
        std::ofstream(base / "www" / "index.html") << "<p>";
        std::ofstream(base / "www" / "css" / "pane.css") << "p{}";
        std::ofstream(base / "secret.txt") << "outside";
        std::error_code ec;
        fs::create_symlink(base / "secret.txt", base / "www" / "leak", ec);
        fs::create_symlink(base / "www" / "index.html", base / "www" / "home", ec);
        fs::create_directory_symlink(base, base / "www" / "up", ec);
        return base / "www";
    }();
    return root;
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool expected_host(std::string_view host) {
    std::string h = lower(host), suffix = ":" + std::to_string(kPort);
    return h == "127.0.0.1" + suffix || h == "localhost" + suffix;
}

std::optional<std::string_view> header(std::string_view head, std::string_view name) {
    size_t pos = head.find('\n');
    while (pos != std::string_view::npos) {
        std::string_view line = head.substr(pos + 1);
        size_t end = line.find('\n');
        line = line.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        size_t colon = line.find(':');
        if (colon != std::string_view::npos && lower(line.substr(0, colon)) == name) {
            std::string_view value = line.substr(colon + 1);
            while (!value.empty() && value.front() == ' ')
                value.remove_prefix(1);
            return value;
        }
        pos = end == std::string_view::npos ? end : pos + 1 + end;
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view head(reinterpret_cast<const char*>(data), size);
    std::string_view request_line = head.substr(0, head.find('\n'));
    size_t first_space = request_line.find(' ');
    std::string_view target =
        first_space == std::string_view::npos ? "" : request_line.substr(first_space + 1);
    target = target.substr(0, target.find(' '));

    std::string_view host = header(head, "host").value_or("");
    if (names_this_server(host, kPort) != expected_host(host))
        std::abort();

    auto origin = header(head, "origin");
    // Browsers send the scheme in lower case; only the host name is compared regardless of case.
    bool origin_ok = origin && origin->starts_with("http://") && expected_host(origin->substr(7));
    if (origin && is_own_origin(*origin, kPort) != origin_ok)
        std::abort();

    std::string policy = settings_frame_policy(static_cast<int>(size) * 37 - 1000);
    if (!policy.starts_with("frame-ancestors "))
        std::abort();

    std::string_view relative = target.starts_with('/') ? target.substr(1) : target;
    if (auto file = file_inside(served_root(), relative)) {
        fs::path real_root = fs::canonical(served_root());
        auto [root_end, unused] =
            std::mismatch(real_root.begin(), real_root.end(), file->begin(), file->end());
        if (root_end != real_root.end() || !fs::is_regular_file(*file))
            std::abort();
        std::string padded = "/" + std::string(relative) + "/";
        if (padded.find("/../") != std::string::npos || padded.find("/./") != std::string::npos ||
            padded.find("//") != std::string::npos)
            std::abort();
    }
    return 0;
}
