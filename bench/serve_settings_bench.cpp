// What a person waits for after changing a setting beside the live screen: a real `zimtone serve`
// with its hosts, a page watching the screen as the device page does, and a value set in the
// Settings app through its page's own HTTP API. Timed from the change sent to the first frame on
// the page whose PNG bytes differ from the frame shown before, with each surface on screen in
// turn: a banner, Notification Center open, the lock screen with a notification, the Messages
// quick reply. Every change alternates between two values, so each one is a real change.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/ServedDevice.h"

namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using zimtone::bench::ServedDevice;
using zimtone::bench::WatchingPage;
using zimtone::testing::serve::ServeProcess;
using Clock = std::chrono::steady_clock;

// No frame for this long: whatever the last input started is on the page.
constexpr auto kQuiet = 250ms;
// Far longer than any change should take; past it the change counts as never shown.
constexpr auto kShowBound = 5s;

// The Settings app's page as its browser drives it: actions posted from the page's own origin.
class SettingsPage {
  public:
    explicit SettingsPage(const ServeProcess& serve) {
        auto url = zimtone::testing::serve::get_json(serve, "/api/status").value("settings_url", json());
        const std::string prefix = "http://127.0.0.1:";
        if (url.is_string() && url.get<std::string>().starts_with(prefix))
            port_ = std::atoi(url.get<std::string>().c_str() + prefix.size());
    }
    int port() const { return port_; }
    // The row of the page on show whose `field` is `value`; -1 when there is none.
    int row_where(const char* field, const std::string& value) const {
        auto res = client().Get("/api/page");
        json page = res ? json::parse(res->body, nullptr, false) : json();
        if (!page.is_object())
            return -1;
        for (const auto& row : page.value("rows", json::array()))
            if (row.is_object() && row.value(field, json()) == value)
                return row.value("index", -1);
        return -1;
    }
    // The pane's answer: true when it took the action.
    bool act(const json& action) const {
        httplib::Headers origin{{"Origin", "http://127.0.0.1:" + std::to_string(port_)}};
        auto res = client().Post("/api/action", origin, action.dump(), "application/json");
        return res && res->status == 200;
    }

  private:
    httplib::Client client() const {
        httplib::Client c("127.0.0.1", port_);
        c.set_read_timeout(20, 0);
        return c;
    }
    int port_{0};
};

// The frames the watching page received, and when each arrived.
class FrameLog {
  public:
    struct Entry {
        Clock::time_point arrived;
        std::string png;
    };
    void add(const std::string& png) {
        {
            std::lock_guard lock(lock_);
            frames_.push_back({Clock::now(), png});
        }
        arrived_.notify_all();
    }
    size_t size() const {
        std::lock_guard lock(lock_);
        return frames_.size();
    }
    // Waits until no frame has come for `quiet`; false if frames kept coming until `bound`.
    bool wait_quiet(Clock::duration quiet, Clock::duration bound) {
        std::unique_lock lock(lock_);
        auto deadline = Clock::now() + bound;
        while (Clock::now() < deadline) {
            size_t seen = frames_.size();
            if (!arrived_.wait_for(lock, quiet, [&] { return frames_.size() != seen; }) && !frames_.empty())
                return true;
        }
        return false;
    }
    // The first frame from index `from` on whose picture differs from `before`.
    std::optional<Entry> wait_for_change(size_t from, const std::string& before, Clock::duration bound) {
        std::unique_lock lock(lock_);
        std::optional<Entry> found;
        arrived_.wait_for(lock, bound, [&] {
            for (size_t i = from; i < frames_.size() && !found; ++i)
                if (frames_[i].png != before)
                    found = frames_[i];
            return found.has_value();
        });
        return found;
    }
    std::string last_png() const {
        std::lock_guard lock(lock_);
        return frames_.empty() ? "" : frames_.back().png;
    }

  private:
    mutable std::mutex lock_;
    std::condition_variable arrived_;
    std::vector<Entry> frames_;
};

// A surface put on screen through the device page, and a setting that changes how it looks.
struct Surface {
    std::vector<json> actions;
    std::string settings_page; // the label of the link to the setting's page
    std::string key;
    json values[2];
};

const json kBulletin = {
    {"action", "bulletin"}, {"app", "com.apple.weather"}, {"title", "Weather"}, {"message", "Rain"}};

const Surface kBanner{{kBulletin}, "Banners", "BannerAlpha", {0.4, 1.0}};
// Saturation rather than the cell opacity: with layered opacity on, as by default, rows take their
// opacity from their position and the opacity setting leaves the picture as it was.
const Surface kNotificationCenter{{kBulletin, {{"action", "dismiss"}}, {{"action", "nc-open"}}},
                                  "Notification Center",
                                  "NotificationCenterSaturation",
                                  {0.2, 1.0}};
const Surface kLockScreen{{{{"action", "lock"}}, kBulletin}, "Lock Screen", "LockscreenAlpha", {0.4, 1.0}};
const Surface kQuickReply{{{{"action", "reply"}, {"sender", "Anna"}, {"message", "Lunch?"}}},
                          "Text & Extras",
                          "QRKeyboardColor",
                          {false, true}};

double at_rank(const std::vector<double>& sorted, double rank) {
    return sorted[std::min(sorted.size() - 1,
                           static_cast<size_t>(rank * static_cast<double>(sorted.size())))];
}

void settings_change_to_frame(benchmark::State& state, const Surface& surface) {
    ServedDevice served(json::object());
    if (!served.up) {
        state.SkipWithError("zimtone serve did not start");
        return;
    }
    for (const char* role : {"messages", "settings"})
        if (zimtone::testing::serve::wait_for_host(*served.serve, role, [](const auto& host) {
                return host["state"] == "up";
            })["state"] != "up") {
            state.SkipWithError((std::string(role) + " did not start").c_str());
            return;
        }
    SettingsPage settings(*served.serve);
    if (!settings.act({{"type", "tap"}, {"row", settings.row_where("label", surface.settings_page)}})) {
        state.SkipWithError("the setting's page did not open");
        return;
    }
    int row = settings.row_where("key", surface.key);
    if (row < 0) {
        state.SkipWithError(("the setting's page has no row for " + surface.key).c_str());
        return;
    }
    FrameLog log;
    WatchingPage page(*served.serve, [&log](const std::string& png) { log.add(png); });
    for (const auto& action : surface.actions)
        if (auto res = zimtone::testing::serve::post_action(*served.serve, action);
            !res || res->status != 200) {
            state.SkipWithError(("the surface was not shown: " + action.dump()).c_str());
            return;
        }
    std::mt19937 random(2026); // the same pauses every run
    std::uniform_int_distribution<int> pause(0, 119);
    std::vector<double> latencies;
    std::vector<double> answers; // how long the Settings app took to answer, within the latency
    size_t frames_after_first = 0;
    size_t changes = 0;
    for (auto _ : state) {
        if (!log.wait_quiet(kQuiet, kShowBound)) {
            state.SkipWithError("the screen never settled");
            return;
        }
        // A person's change comes at any moment between the launcher's questions to the host;
        // without a random pause every change would come at the same moment of them.
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        size_t from = log.size();
        std::string before = log.last_png();
        auto sent_at = Clock::now();
        if (!settings.act({{"type", "set"}, {"row", row}, {"value", surface.values[changes++ % 2]}})) {
            state.SkipWithError(("the Settings app did not set " + surface.key).c_str());
            return;
        }
        answers.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent_at).count());
        auto changed = log.wait_for_change(from, before, kShowBound);
        if (!changed) {
            state.SkipWithError(("a change of " + surface.key + " never showed").c_str());
            return;
        }
        double ms = std::chrono::duration<double, std::milli>(changed->arrived - sent_at).count();
        latencies.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
        // A change that draws in steps would show here: frames after the first changed one.
        log.wait_quiet(kQuiet, kShowBound);
        frames_after_first += log.size() - from - 1;
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["latency_ms_median"] = at_rank(latencies, 0.5);
    state.counters["latency_ms_p90"] = at_rank(latencies, 0.9);
    state.counters["latency_ms_max"] = latencies.back();
    std::sort(answers.begin(), answers.end());
    state.counters["answer_ms_median"] = at_rank(answers, 0.5);
    state.counters["extra_frames"] = static_cast<double>(frames_after_first);
}

BENCHMARK_CAPTURE(settings_change_to_frame, banner, kBanner)
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(settings_change_to_frame, notification_center, kNotificationCenter)
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(settings_change_to_frame, lock_screen, kLockScreen)
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(settings_change_to_frame, quick_reply, kQuickReply)
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

} // namespace
