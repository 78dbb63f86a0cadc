#include "sim/cli/DeviceSetup.h"

#include <filesystem>

#include "platform/foundation/DevicePaths.h"
#include "sim/device/DeviceGenerator.h"
#include "sim/injection/InjectionLoader.h"

namespace zimtone::cli {

namespace fs = std::filesystem;

namespace {
// The build puts executables in bin/ and libraries beside them in lib/.
fs::path library_dir(const char* argv0) {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) exe = fs::absolute(argv0);
    return exe.parent_path().parent_path() / "lib";
}

bool link(const fs::path& target, const fs::path& at, std::string* error) {
    std::error_code ec;
    fs::remove(at, ec);
    fs::create_symlink(target, at, ec);
    if (ec && error) *error = "cannot link " + at.string() + ": " + ec.message();
    return !ec;
}
} // namespace

bool set_up_device(const char* argv0, std::string* error) {
    fs::path root = platform::foundation::device_root();
    std::error_code ec;
    fs::create_directories(root, ec);
    if (ec) {
        if (error) *error = "cannot create device root " + root.string() + ": " + ec.message();
        return false;
    }
    try {
        zimtone::device::generate_default_device(root);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
    fs::path libs = library_dir(argv0);
    fs::path injected = platform::foundation::resolve_device_path(zimtone::sim::kDynamicLibrariesDir);
    fs::create_directories(injected, ec);
    fs::path bundles = platform::foundation::resolve_device_path("/Library/PreferenceBundles");
    fs::create_directories(bundles, ec);
    return link(libs / "libZimtone2.so", injected / "Zimtone2.so", error) &&
           link(libs / "Zimtone2.plist", injected / "Zimtone2.plist", error) &&
           link(libs / "Zimtone2.bundle", bundles / "Zimtone2.bundle", error);
}

} // namespace zimtone::cli
