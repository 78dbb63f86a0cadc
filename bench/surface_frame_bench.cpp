// One frame of each surface at 2x, drawn by the hosts themselves: a springboard host with a
// banner down, with Notification Center open, and locked with notifications on the lock screen,
// and a messages host with the quick-reply view open. Each iteration is one `screenshot`
// command, so the time includes laying out, drawing at 2x, PNG encoding, writing the file and
// the command round trip: an upper bound on the drawing alone.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/BenchDevice.h"
#include "sim/device/DeviceGenerator.h"
#include "sim/launcher/HostClient.h"

namespace {

struct Scene {
    const char* role;
    std::vector<std::string> commands;
};

const zimtone::bench::BenchDevice& device() {
    static zimtone::bench::BenchDevice device;
    static bool generated = (zimtone::device::generate_default_device(device.root()), true);
    (void)generated;
    return device;
}

void draw_scene(benchmark::State& state, const Scene& scene) {
    zimtone::sim::HostClient host(
        {zimtone::sim::executable_dir() / "zimtone-host", scene.role, device().root(), true, {}});
    if (!host.ready().is_object()) {
        state.SkipWithError("the host did not start");
        return;
    }
    for (const auto& line : scene.commands)
        if (!host.command(line).value("ok", false)) {
            state.SkipWithError(("scene command failed: " + line).c_str());
            return;
        }
    std::string shot = "screenshot " + (device().root() / (std::string(scene.role) + ".png")).string();
    for (auto _ : state)
        if (!host.command(shot).value("ok", false)) {
            state.SkipWithError("screenshot failed");
            break;
        }
    host.finish();
}

const Scene kBanner{"springboard", {"bulletin com.example.zebra \"Zebra Stripes\" \"Meet at the water hole\""}};
const Scene kNotificationCenter{"springboard",
                                {"bulletin com.example.zebra Zebra Stripes", "dismiss",
                                 "bulletin com.apple.mobilenotes Notes \"Buy milk\"", "dismiss",
                                 "bulletin com.apple.MobileSMS Mossglint \"See you at eight\"", "dismiss",
                                 "nc open"}};
const Scene kLockScreen{"springboard",
                        {"lock", "bulletin com.example.zebra Zebra Stripes",
                         "bulletin com.apple.mobilenotes Notes \"Buy milk\"",
                         "bulletin com.apple.MobileSMS Mossglint \"See you at eight\""}};
const Scene kQuickReply{"messages", {"reply Mossglint \"See you at eight?\""}};

BENCHMARK_CAPTURE(draw_scene, banner, kBanner)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(draw_scene, notification_center, kNotificationCenter)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(draw_scene, lock_screen, kLockScreen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(draw_scene, quick_reply, kQuickReply)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
