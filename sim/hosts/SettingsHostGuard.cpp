#include "sim/hosts/SettingsHostGuard.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "sim/http/RequestGate.h"

namespace zimtone::sim {

namespace fs = std::filesystem;

std::string settings_frame_policy(int embedder_port) {
    if (embedder_port <= 0 || embedder_port > 65535)
        return "frame-ancestors 'none'";
    std::string port = std::to_string(embedder_port);
    return "frame-ancestors http://127.0.0.1:" + port + " http://localhost:" + port;
}

std::optional<fs::path> file_inside(const fs::path& root, std::string_view relative) {
    if (relative.empty() || relative.size() > http::kMaxPathLength)
        return std::nullopt;
    fs::path path = root;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string_view::npos)
            end = relative.size();
        std::string_view part = relative.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return std::nullopt;
        bool plain = std::all_of(part.begin(), part.end(), [](unsigned char c) {
            return std::isalnum(c) || c == '.' || c == '_' || c == '-' || c == '@';
        });
        if (!plain)
            return std::nullopt;
        path /= std::string(part);
        start = end + 1;
    }
    std::error_code ec;
    fs::path real_root = fs::canonical(root, ec);
    if (ec)
        return std::nullopt;
    fs::path real = fs::canonical(path, ec);
    if (ec || !fs::is_regular_file(real, ec))
        return std::nullopt;
    auto [root_end, unused] = std::mismatch(real_root.begin(), real_root.end(), real.begin(), real.end());
    if (root_end != real_root.end())
        return std::nullopt;
    return real;
}

} // namespace zimtone::sim
