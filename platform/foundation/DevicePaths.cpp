#include "platform/foundation/DevicePaths.h"

#include <cstdlib>
#include <mutex>

namespace platform::foundation {

namespace {
std::mutex root_lock;
std::filesystem::path& root_storage() {
    static auto* root = new std::filesystem::path;
    return *root;
}

std::filesystem::path default_root() {
    if (const char* env = std::getenv("ZIMTONE_DEVICE_ROOT"); env && *env)
        return env;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::filesystem::path(data) / "zimtone" / "device";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / ".local" / "share" / "zimtone" / "device";
}
} // namespace

std::filesystem::path device_root() {
    std::lock_guard guard(root_lock);
    auto& root = root_storage();
    if (root.empty())
        root = std::filesystem::absolute(default_root()).lexically_normal();
    return root;
}

void set_device_root(const std::filesystem::path& root) {
    std::lock_guard guard(root_lock);
    root_storage() = std::filesystem::absolute(root).lexically_normal();
}

std::filesystem::path resolve_device_path(std::string_view device_path) {
    // Normalise as an absolute device path first, so ".." stops at the device's "/".
    auto normal = (std::filesystem::path("/") / std::filesystem::path(device_path)).lexically_normal();
    auto relative = normal.relative_path();
    return relative.empty() ? device_root() : device_root() / relative;
}

} // namespace platform::foundation
