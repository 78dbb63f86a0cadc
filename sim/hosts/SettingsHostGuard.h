// The rules the Settings app's web page enforces on every request: only this loopback address
// and port may be named (no DNS rebinding), no state change from another origin, and files only
// from inside the folders they are served from.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zimtone::sim {

inline constexpr size_t kMaxSettingsRequestBody = 16 * 1024;

// "127.0.0.1:PORT" or "localhost:PORT" (any case); nothing else, an empty header included.
bool settings_host_allowed(std::string_view host_header, int port);

// An absent Origin (a same-origin navigation or a tool) passes; a present one must be
// http://127.0.0.1:PORT or http://localhost:PORT.
bool settings_origin_allowed(std::optional<std::string_view> origin, int port);

// Who may show the page in a frame, as a Content-Security-Policy value: nobody, or only the
// loopback page on `embedder_port` (the device page of `zimtone serve`) when it is above 0.
std::string settings_frame_policy(int embedder_port);

// The file that a request path names inside `root`, when it names a regular file there: the
// path is one or more plain names ([A-Za-z0-9._-], no "." or ".." segment, no empty segment),
// and the resolved file, symbolic links followed, still lies inside the resolved root.
std::optional<std::filesystem::path> file_inside(const std::filesystem::path& root,
                                                 std::string_view relative);

} // namespace zimtone::sim
