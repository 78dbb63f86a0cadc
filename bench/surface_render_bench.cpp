// Drawing one frame of each surface at 2x, alone: the same scenes as surface_frame_bench, built
// in this process on a host's own classes with the tweak loaded the way a host loads it, then
// drawn again and again with one kept renderer, as a host's `screenshot` draws before it encodes
// the PNG. Encoding the frame as PNG is timed beside it, so the two add up to most of a
// screenshot. Each scene is built in a forked process of its own (the home screen and the
// Messages extension are different hosts, and every scene starts from a fresh screen); its clock
// is virtual, so nothing moves while it is drawn.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/FrameScenes.h"
#include "bench/InstalledDevice.h"
#include "platform/PlatformClasses.h"
#include "platform/foundation/RunLoop.h"
#include "platform/render/ViewRenderer.h"
#include "sim/hosts/HostProcess.h"
#include "sim/hosts/HostRoles.h"
#include "sim/hosts/Screen.h"
#include "sim/injection/InjectionLoader.h"

namespace {

// Later scenes print their rows under the first scene's machine description and table header,
// with the names in one column as wide as the longest name of any scene.
class SceneReporter : public benchmark::ConsoleReporter {
  public:
    SceneReporter(bool first, size_t name_width)
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular), first_(first),
          name_width_(name_width) {}
    bool ReportContext(const Context& context) override {
        bool ok = !first_ || ConsoleReporter::ReportContext(context);
        name_field_width_ = name_width_;
        return ok;
    }

  protected:
    void PrintHeader(const Run& run) override {
        if (first_)
            ConsoleReporter::PrintHeader(run);
    }

  private:
    bool first_;
    size_t name_width_;
};

void draw(benchmark::State& state) {
    platform::render::ViewRenderer renderer;
    for (auto _ : state) {
        zimtone::sim::screen()->layoutIfNeeded();
        if (auto drawn = renderer.render(zimtone::sim::screen()); !drawn) {
            state.SkipWithError(drawn.error().c_str());
            return;
        }
    }
}

void encode_png(benchmark::State& state) {
    platform::render::ViewRenderer renderer;
    if (auto drawn = renderer.render(zimtone::sim::screen()); !drawn) {
        state.SkipWithError(drawn.error().c_str());
        return;
    }
    for (auto _ : state)
        if (auto png = renderer.png(); !png) {
            state.SkipWithError(png.error().c_str());
            return;
        }
}

// A scene whose benchmarks the filter left out ends with this status, so that the next one
// prints the table header.
constexpr int kNothingRun = 3;

// In the scene's own process: builds the scene as a host would and runs its two benchmarks.
int run_scene(const zimtone::bench::FrameScene& scene, bool first, size_t name_width) {
    platform::foundation::RunLoop::main().use_virtual_clock(0);
    platform::register_platform_classes();
    auto role = zimtone::sim::find_host_role(scene.role);
    zimtone::sim::HostProcess host(role->role, role->bundle_identifier);
    role->set_up(host);
    auto injected = zimtone::sim::load_injected_libraries(role->bundle_identifier);
    for (const auto& error : injected.errors)
        std::fprintf(stderr, "surface_render_bench: %s: %s\n", scene.name.c_str(), error.c_str());
    if (injected.loaded.empty()) {
        std::fprintf(stderr, "surface_render_bench: %s: the tweak was not loaded\n", scene.name.c_str());
        return 1;
    }
    for (const auto& line : scene.commands) {
        auto answer = host.execute(line);
        if (!answer.value("ok", false)) {
            std::fprintf(stderr, "surface_render_bench: %s: '%s' failed: %s\n", scene.name.c_str(),
                         line.c_str(), answer.dump().c_str());
            return 1;
        }
    }
    benchmark::RegisterBenchmark(("draw/" + scene.name).c_str(), draw)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("encode_png/" + scene.name).c_str(), encode_png)
        ->Unit(benchmark::kMillisecond);
    SceneReporter reporter(first, name_width);
    size_t run = benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    return run == 0 ? kNothingRun : 0;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    zimtone::bench::installed_device_root(); // before the forks, which share it
    size_t name_width = 0;
    for (const auto& scene : zimtone::bench::frame_scenes())
        name_width = std::max(name_width, std::string("encode_png/_median").size() + scene.name.size());
    int status = 0;
    bool first = true;
    for (const auto& scene : zimtone::bench::frame_scenes()) {
        std::fflush(stdout);
        pid_t child = fork();
        if (child < 0) {
            std::perror("surface_render_bench: fork");
            return 1;
        }
        if (child == 0)
            _exit(run_scene(scene, first, name_width));
        int child_status = 0;
        bool ended = waitpid(child, &child_status, 0) == child && WIFEXITED(child_status);
        if (ended && WEXITSTATUS(child_status) == kNothingRun)
            continue;
        if (!ended || WEXITSTATUS(child_status) != 0) {
            std::fprintf(stderr, "surface_render_bench: the %s scene did not run to the end\n",
                         scene.name.c_str());
            status = 1;
        }
        first = false;
    }
    return status;
}
