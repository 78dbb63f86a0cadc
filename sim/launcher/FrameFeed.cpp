#include "sim/launcher/FrameFeed.h"

#include <fstream>
#include <iterator>

namespace zimtone::sim {

namespace {
// A page that stopped asking is gone after this long; its last request keeps frames coming.
constexpr std::chrono::seconds kWatcherLinger{2};
} // namespace

FrameFeed::FrameFeed(Capture capture, std::filesystem::path scratch_dir, std::chrono::milliseconds period)
    : capture_(std::move(capture)), scratch_(std::move(scratch_dir)), period_(period) {
    thread_ = std::thread([this] { run(); });
}

FrameFeed::~FrameFeed() {
    stop();
}

void FrameFeed::stop() {
    {
        std::lock_guard lock(lock_);
        if (stopping_ && !thread_.joinable())
            return;
        stopping_ = true;
    }
    wake_.notify_all();
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void FrameFeed::show(const std::string& role) {
    {
        std::lock_guard lock(lock_);
        role_ = role;
        poked_ = true;
    }
    wake_.notify_all();
}

std::string FrameFeed::showing() const {
    std::lock_guard lock(lock_);
    return role_;
}

void FrameFeed::poke() {
    {
        std::lock_guard lock(lock_);
        poked_ = true;
    }
    wake_.notify_all();
}

Frame FrameFeed::wait_for_frame(uint64_t after, std::chrono::milliseconds timeout) {
    std::unique_lock lock(lock_);
    bool was_idle = std::chrono::steady_clock::now() >= watched_until_;
    watched_until_ = std::chrono::steady_clock::now() + kWatcherLinger;
    if (was_idle) {
        poked_ = true;
        wake_.notify_all();
    }
    changed_.wait_for(lock, timeout,
                      [&] { return stopping_ || (frame_.sequence != after && frame_.sequence != 0); });
    return frame_;
}

void FrameFeed::run() {
    std::unique_lock lock(lock_);
    while (!stopping_) {
        // Questions start a period apart, not a period after the last frame ended, so a change
        // waits at most one period plus one capture before a watcher sees it.
        auto next = std::chrono::steady_clock::now() + period_;
        bool watched = std::chrono::steady_clock::now() < watched_until_;
        if (watched || poked_) {
            poked_ = false;
            lock.unlock();
            capture_once();
            lock.lock();
        }
        if (std::chrono::steady_clock::now() < watched_until_)
            wake_.wait_until(lock, next, [&] { return stopping_ || poked_; });
        else
            wake_.wait(lock, [&] { return stopping_ || poked_; });
    }
}

void FrameFeed::capture_once() {
    std::string role = showing();
    if (role != since_role_) {
        since_ = 0; // another host's generations mean nothing here
        since_role_ = role;
    }
    auto path = scratch_ / ("screen-" + role + ".png");
    CaptureResult result = capture_(role, path, since_);
    if (result.error.empty() && !result.changed)
        return;
    std::string png;
    if (result.error.empty()) {
        std::ifstream in(path, std::ios::binary);
        png.assign(std::istreambuf_iterator<char>(in), {});
        if (png.empty())
            result.error = "the screen image was empty";
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    // A failed frame is asked for again in full next time.
    since_ = result.error.empty() ? result.generation : 0;
    {
        std::lock_guard lock(lock_);
        if (png == frame_.png && result.error == frame_.error && role == frame_.role)
            return;
        frame_.png = std::move(png);
        frame_.error = std::move(result.error);
        frame_.role = role;
        ++frame_.sequence;
    }
    changed_.notify_all();
}

} // namespace zimtone::sim
