// What the Settings app's web page adds to the request gate both pages share: who may show it in
// a frame, and files only from inside the folders they are served from.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zimtone::sim {

// Who may show the page in a frame, as a Content-Security-Policy value: nobody, or only the
// loopback page on `embedder_port` (the device page of `zimtone serve`) when it is above 0.
std::string settings_frame_policy(int embedder_port);

// The file that a request path names inside `root`, when it names a regular file there: the
// path is one or more plain names ([A-Za-z0-9._@-], no "." or ".." segment, no empty segment),
// and the resolved file, symbolic links followed, still lies inside the resolved root.
std::optional<std::filesystem::path> file_inside(const std::filesystem::path& root,
                                                 std::string_view relative);

} // namespace zimtone::sim
