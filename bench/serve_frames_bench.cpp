// What the live page costs the machine: a real `zimtone serve` with its hosts, and a page
// long-polling its frames as the device page does. CPU is summed over the launcher and every
// host (utime + stime from /proc/<pid>/stat) across a wall-clock window and given as a share of
// one core: an idle home screen, and a banner whose colour cycles twice a second. Latency is
// from an input sent by the page (Notification Center opened or closed) to the new frame
// reaching the page.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "bench/ServedDevice.h"

namespace {

using namespace std::chrono_literals;
using zimtone::bench::ServedDevice;
using zimtone::bench::WatchingPage;
using zimtone::testing::serve::ServeProcess;
using Clock = std::chrono::steady_clock;

constexpr auto kWindow = 4s;

// utime + stime of one process, in clock ticks; 0 when it is gone.
uint64_t cpu_ticks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    auto close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    uint64_t utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) { // field 3 is the state
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return utime + stime;
}

pid_t parent_of(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string state;
    pid_t parent = -1;
    fields >> state >> parent;
    return parent;
}

// The launcher and its hosts (its children).
std::vector<pid_t> device_processes(pid_t launcher) {
    std::vector<pid_t> pids{launcher};
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        pid_t pid = std::stoi(name);
        if (parent_of(pid) == launcher)
            pids.push_back(pid);
    }
    return pids;
}

uint64_t total_ticks(const std::vector<pid_t>& pids) {
    uint64_t sum = 0;
    for (pid_t pid : pids)
        sum += cpu_ticks(pid);
    return sum;
}

// Share of one core used by the device over the window, in percent.
double cpu_percent_over(const ServeProcess& serve, std::chrono::steady_clock::duration window) {
    auto pids = device_processes(serve.pid());
    uint64_t before = total_ticks(pids);
    auto start = Clock::now();
    std::this_thread::sleep_for(window);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    uint64_t used = total_ticks(pids) - before;
    return 100.0 * static_cast<double>(used) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
}

void report(benchmark::State& state, const std::vector<double>& percents, uint64_t frames) {
    std::vector<double> sorted = percents;
    std::sort(sorted.begin(), sorted.end());
    state.counters["cpu_percent_median"] = sorted[sorted.size() / 2];
    state.counters["cpu_percent_max"] = sorted.back();
    state.counters["frames"] = static_cast<double>(frames);
}

void idle_home_screen(benchmark::State& state) {
    ServedDevice served(nlohmann::json::object());
    if (!served.up) {
        state.SkipWithError("zimtone serve did not start");
        return;
    }
    WatchingPage page(*served.serve);
    std::this_thread::sleep_for(1s); // the first frame drawn and the page settled
    std::vector<double> percents;
    for (auto _ : state)
        percents.push_back(cpu_percent_over(*served.serve, kWindow));
    report(state, percents, page.frames());
}

void cycling_banner(benchmark::State& state) {
    ServedDevice served(nlohmann::json{{"BannersUnicornEnabled", true}});
    if (!served.up) {
        state.SkipWithError("zimtone serve did not start");
        return;
    }
    WatchingPage page(*served.serve);
    std::this_thread::sleep_for(1s);
    std::vector<double> percents;
    for (auto _ : state) {
        state.PauseTiming();
        // A banner stays five seconds: each window has a new one, measured after it came down.
        zimtone::testing::serve::post_action(*served.serve, {{"action", "dismiss"}});
        auto res = zimtone::testing::serve::post_action(*served.serve, {{"action", "bulletin"},
                                                                        {"app", "com.apple.weather"},
                                                                        {"title", "Weather"},
                                                                        {"message", "Rain"}});
        if (!res || res->status != 200) {
            state.SkipWithError("the banner was not shown");
            return;
        }
        std::this_thread::sleep_for(200ms);
        state.ResumeTiming();
        percents.push_back(cpu_percent_over(*served.serve, 4s));
    }
    report(state, percents, page.frames());
}

void input_to_frame(benchmark::State& state) {
    ServedDevice served(nlohmann::json::object());
    if (!served.up) {
        state.SkipWithError("zimtone serve did not start");
        return;
    }
    auto client = served.serve->client();
    uint64_t sequence = 0;
    // The first frame, then the page waits for the next one while the input is sent.
    for (int i = 0; i < 20 && sequence == 0; ++i)
        if (auto res = client.Get("/api/frame?since=0"); res && res->has_header("X-Frame-Sequence"))
            sequence = std::stoull(res->get_header_value("X-Frame-Sequence"));
    std::vector<double> latencies;
    bool open = false;
    for (auto _ : state) {
        std::atomic<bool> sent{false};
        Clock::time_point sent_at;
        std::thread input([&] {
            std::this_thread::sleep_for(30ms); // the long poll is waiting by then
            sent_at = Clock::now();
            sent = true;
            zimtone::testing::serve::post_action(*served.serve, {{"action", open ? "nc-close" : "nc-open"}});
        });
        auto poller = served.serve->client();
        auto res = poller.Get(("/api/frame?since=" + std::to_string(sequence)).c_str());
        while (res && res->status == 204)
            res = poller.Get(("/api/frame?since=" + std::to_string(sequence)).c_str());
        auto arrived = Clock::now();
        input.join();
        open = !open;
        if (!res || res->status != 200) {
            state.SkipWithError("no new frame");
            return;
        }
        sequence = std::stoull(res->get_header_value("X-Frame-Sequence"));
        double ms = std::chrono::duration<double, std::milli>(arrived - sent_at).count();
        latencies.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["latency_ms_median"] = latencies[latencies.size() / 2];
    state.counters["latency_ms_max"] = latencies.back();
}

BENCHMARK(idle_home_screen)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cycling_banner)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(input_to_frame)->Iterations(40)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace
