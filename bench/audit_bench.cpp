// The whole readability audit of the default device with the tweak installed, as a person runs
// it: `zimtone audit --json`, which starts the hosts, shows every app's bulletin on every surface,
// measures each text as drawn and draws the proposed colours again to check them. Wall time of
// the command, and also with the pictures and HTML page that `--html` adds.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/InstalledDevice.h"
#include "sim/launcher/HostClient.h"

namespace {

bool run_audit(const std::string& extra) {
    std::string command = (zimtone::sim::executable_dir() / "zimtone").string() + " --root " +
                          zimtone::bench::installed_device_root().string() + " audit --json" + extra +
                          " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void BM_AuditDefaultDevice(benchmark::State& state) {
    for (auto _ : state)
        if (!run_audit("")) {
            state.SkipWithError("zimtone audit failed");
            break;
        }
}
BENCHMARK(BM_AuditDefaultDevice)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_AuditDefaultDeviceWithHtml(benchmark::State& state) {
    std::string page = (zimtone::bench::installed_device_root() / "audit.html").string();
    for (auto _ : state)
        if (!run_audit(" --html " + page)) {
            state.SkipWithError("zimtone audit --html failed");
            break;
        }
}
BENCHMARK(BM_AuditDefaultDeviceWithHtml)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
