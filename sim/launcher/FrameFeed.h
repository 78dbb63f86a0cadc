// The live picture of the device screen for the web page. While someone watches, a thread asks
// the host on screen for a PNG once a period and keeps the newest one, numbering it
// only when it differs from the last, so watchers wake for changes and an idle page costs one
// small render per tick. Nobody watching means no renders at all.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace zimtone::sim {

struct Frame {
    uint64_t sequence { 0 };
    std::string png;   // empty when the screen could not be drawn
    std::string error; // why not
    std::string role;  // the host on screen
};

class FrameFeed {
public:
    // Draws the screen of `role` into the PNG file `path`: an empty string, or the reason it failed.
    using Capture = std::function<std::string(const std::string& role, const std::filesystem::path& path)>;

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
    std::string role_ { "springboard" };
    std::chrono::steady_clock::time_point watched_until_ {};
    bool poked_ { false };
    bool stopping_ { false };
    std::thread thread_;
};

} // namespace zimtone::sim
