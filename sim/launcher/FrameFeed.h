// The live picture of the device screen for the web page. While someone watches, a thread asks
// the host on screen once a period whether its screen changed since the last frame; only then
// does the host draw a PNG, which is kept as the newest frame and numbered when it differs from
// the last. Watchers wake for changes, an idle screen costs one small question per period, and
// nobody watching means no questions at all. A poke (after input) asks at once.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "sim/hosts/HostRoleName.h"

namespace zimtone::sim {

struct Frame {
    uint64_t sequence{0};
    std::string png;   // empty when the screen could not be drawn
    std::string error; // why not
    std::string role;  // the host on screen
};

class FrameFeed {
  public:
    // What a host answers when asked for a frame.
    struct CaptureResult {
        std::string error;  // why the screen could not be drawn; empty when it was, or need not be
        bool changed{true}; // false: the screen is as at `since`, and nothing was drawn
        uint64_t generation{0};
    };
    // Draws the screen of `role` into the PNG file `path` unless it is unchanged since the host's
    // generation `since` (0: draw in any case).
    using Capture = std::function<CaptureResult(const std::string& role, const std::filesystem::path& path,
                                                uint64_t since)>;

    FrameFeed(Capture capture, std::filesystem::path scratch_dir, std::chrono::milliseconds period);
    ~FrameFeed();
    FrameFeed(const FrameFeed&) = delete;
    FrameFeed& operator=(const FrameFeed&) = delete;

    // Which host is on screen; a switch takes a new frame at once.
    void show(const std::string& role);
    std::string showing() const;
    // Takes a frame soon (after a control changed the screen).
    void poke();
    // Counts as a watcher for a while, and waits up to `timeout` for a frame other than `after`
    // (a page that knew an earlier launcher may hold a number from the future); answers the
    // newest frame either way, sequence 0 while there is none yet.
    Frame wait_for_frame(uint64_t after, std::chrono::milliseconds timeout);
    void stop();

  private:
    void run();
    void capture_once();

    Capture capture_;
    std::filesystem::path scratch_;
    std::chrono::milliseconds period_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::condition_variable wake_;
    Frame frame_;
    std::string role_{role_name(HostRoleName::springboard)};
    // The host's generation of the newest frame, and whose it is; only the capture thread uses them.
    uint64_t since_{0};
    std::string since_role_;
    std::chrono::steady_clock::time_point watched_until_{};
    bool poked_{false};
    bool stopping_{false};
    std::thread thread_;
};

} // namespace zimtone::sim
