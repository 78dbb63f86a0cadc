// The benchmarks of the live page share these: a real `zimtone serve` on a throw-away device,
// and a page that watches its screen by long-polling `/api/frame` as the device page does.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "bench/BenchDevice.h"
#include "tests/serve/ServeProcess.h"

namespace zimtone::bench {

// A device served for one benchmark, its settings written first; `up` once the home screen is.
struct ServedDevice {
    explicit ServedDevice(const nlohmann::json& settings);
    ~ServedDevice();
    BenchDevice device;
    std::unique_ptr<testing::serve::ServeProcess> serve;
    bool up{false};
};

// A page watching the screen: one long poll after another. Each new frame's PNG bytes go to
// `on_frame` (on the page's thread) as soon as they have arrived.
class WatchingPage {
  public:
    using OnFrame = std::function<void(const std::string& png)>;
    explicit WatchingPage(const testing::serve::ServeProcess& serve, OnFrame on_frame = {});
    ~WatchingPage();
    WatchingPage(const WatchingPage&) = delete;
    WatchingPage& operator=(const WatchingPage&) = delete;

    uint64_t frames() const { return frames_; }
    uint64_t sequence() const { return sequence_; }

  private:
    const testing::serve::ServeProcess& serve_;
    OnFrame on_frame_;
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> sequence_{0};
    std::atomic<uint64_t> frames_{0};
    std::thread thread_;
};

} // namespace zimtone::bench
