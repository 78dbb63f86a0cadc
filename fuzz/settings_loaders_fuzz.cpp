// Arbitrary bytes as the settings file, read by the four loaders. Whatever the bytes, no loader
// may crash, and a file that does not read as a dictionary must leave every key at its default.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "settings/Keys.h"
#include "settings/Loaders.h"

using namespace zimtone::settings;

namespace {

std::filesystem::path settings_file() {
    static const std::filesystem::path path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zimtone-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        platform::foundation::set_device_root(pattern);
        auto file = platform::foundation::resolve_device_path(kSettingsFile);
        std::filesystem::create_directories(file.parent_path());
        return file;
    }();
    return path;
}

bool at_default(const SettingsState& s, const KeyInfo& info) {
    Field field = field_of(info.key);
    if (auto* b = std::get_if<bool SettingsState::*>(&field))
        return s.*(*b) == (info.default_value != 0);
    return s.*std::get<double SettingsState::*>(field) == info.default_value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ofstream(settings_file(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    loadBannerSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
    loadNotificationCenterSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
    loadLockscreenSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
    loadRequests(nullptr, nullptr, nullptr, nullptr, nullptr);
    const SettingsState& s = state();
    if (!s.dictionary)
        for (const KeyInfo& info : kKeys)
            if (!at_default(s, info))
                std::abort();
    return 0;
}
