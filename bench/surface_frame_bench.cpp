// One frame of each surface at 2x, drawn by the hosts themselves: a springboard host with a
// banner down, with Notification Center open, and locked with notifications on the lock screen,
// and a messages host with the quick-reply view open. Each iteration is one `screenshot`
// command, so the time includes laying out, drawing at 2x, PNG encoding, writing the file and
// the command round trip: an upper bound on the drawing alone, which surface_render_bench times.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/FrameScenes.h"
#include "bench/InstalledDevice.h"
#include "sim/launcher/HostClient.h"

namespace {

void draw_scene(benchmark::State& state, const zimtone::bench::FrameScene& scene) {
    zimtone::sim::HostClient host({zimtone::sim::executable_dir() / "zimtone-host",
                                   scene.role,
                                   zimtone::bench::installed_device_root(),
                                   true,
                                   {}});
    if (!host.ready().is_object()) {
        state.SkipWithError("the host did not start");
        return;
    }
    for (const auto& line : scene.commands)
        if (!host.command(line).value("ok", false)) {
            state.SkipWithError(("scene command failed: " + line).c_str());
            return;
        }
    std::string shot =
        "screenshot " + (zimtone::bench::installed_device_root() / (scene.name + ".png")).string();
    for (auto _ : state)
        if (!host.command(shot).value("ok", false)) {
            state.SkipWithError("screenshot failed");
            break;
        }
    host.finish();
}

// Registered before main runs, one benchmark a scene.
const bool registered = [] {
    for (const auto& scene : zimtone::bench::frame_scenes())
        benchmark::RegisterBenchmark(("draw_scene/" + scene.name).c_str(), draw_scene, scene)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    return true;
}();

} // namespace
