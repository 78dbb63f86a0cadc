#include "sim/cli/DeviceSetup.h"

#include "platform/foundation/DevicePaths.h"
#include "sim/device/DeviceGenerator.h"
#include "sim/injection/InjectionLoader.h"

namespace zimtone::cli {

namespace fs = std::filesystem;
using platform::foundation::Failure;
using platform::foundation::Result;

namespace {
Result<void> link(const fs::path& target, const fs::path& at) {
    std::error_code ec;
    fs::remove(at, ec);
    fs::create_symlink(target, at, ec);
    if (ec)
        return Failure{"cannot link " + at.string() + ": " + ec.message()};
    return {};
}

// The build folder that holds bin/ and lib/, found from the running executable (or argv0).
fs::path build_folder(const char* argv0) {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        exe = fs::absolute(argv0);
    return exe.parent_path().parent_path();
}
} // namespace

std::optional<fs::path> missing_runtime_file(const fs::path& build) {
    // A build of some targets only can lack any of these; a link to nothing would fail later,
    // inside a host, with a less helpful message.
    for (const char* file : {"lib/libZimtone2.so", "lib/Zimtone2.plist", "lib/Zimtone2.bundle/Zimtone2",
                             "bin/zimtone-host", "share/zimtone/web/settings/index.html"}) {
        std::error_code ec;
        if (!fs::is_regular_file(build / file, ec))
            return fs::path(file);
    }
    return std::nullopt;
}

Result<void> set_up_device(const char* argv0) {
    fs::path build = build_folder(argv0);
    if (auto missing = missing_runtime_file(build))
        return Failure{"the build in " + build.string() + " has no " + missing->string() +
                       "; build what the device runs with: cmake --build " + build.string() +
                       " --target Zimtone2 Zimtone2Prefs zimtone-host zimtone"};
    fs::path root = platform::foundation::device_root();
    std::error_code ec;
    fs::create_directories(root, ec);
    if (ec)
        return Failure{"cannot create device root " + root.string() + ": " + ec.message()};
    try {
        zimtone::device::generate_default_device(root);
    } catch (const std::exception& e) {
        return Failure{e.what()};
    }
    fs::path libs = build / "lib";
    fs::path injected = platform::foundation::resolve_device_path(zimtone::sim::kDynamicLibrariesDir);
    fs::create_directories(injected, ec);
    fs::path bundles = platform::foundation::resolve_device_path("/Library/PreferenceBundles");
    fs::create_directories(bundles, ec);
    if (auto linked = link(libs / "libZimtone2.so", injected / "Zimtone2.so"); !linked)
        return linked;
    if (auto linked = link(libs / "Zimtone2.plist", injected / "Zimtone2.plist"); !linked)
        return linked;
    return link(libs / "Zimtone2.bundle", bundles / "Zimtone2.bundle");
}

} // namespace zimtone::cli
