// Memory of a home-screen host after 1,000 notifications: a real springboard host on a sample
// device with the tweak installed receives `bulletin` and `dismiss` through its command channel,
// and its resident set is read from /proc before and after. Memory is what counts here; the time
// is the whole run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/InstalledDevice.h"
#include "sim/launcher/HostClient.h"

namespace {

constexpr int kNotifications = 1000;
const char* const kApps[] = {"com.example.zebra", "com.apple.mobilenotes", "com.apple.MobileSMS",
                             "com.example.plaintext"};

double resident_mib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

void BM_HostMemoryAfterNotifications(benchmark::State& state) {
    const auto& root = zimtone::bench::installed_device_root();
    double before = 0, after = 0;
    for (auto _ : state) {
        zimtone::sim::HostClient host(
            {zimtone::sim::executable_dir() / "zimtone-host", "springboard", root, true, {}});
        if (!host.ready().is_object()) {
            state.SkipWithError("the springboard host did not start");
            return;
        }
        before = resident_mib(host.pid());
        for (int i = 0; i < kNotifications; ++i) {
            std::string line = std::string("bulletin ") + kApps[i % 4] + " \"Sender " + std::to_string(i) +
                               "\" \"Message number " + std::to_string(i) + "\"";
            if (!host.command(line).value("ok", false) || !host.command("dismiss").value("ok", false)) {
                state.SkipWithError("a notification command failed");
                return;
            }
        }
        after = resident_mib(host.pid());
        host.finish();
    }
    state.counters["rss_start_MiB"] = before;
    state.counters["rss_after_1000_MiB"] = after;
}
BENCHMARK(BM_HostMemoryAfterNotifications)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
