#include "platform/applist/AppDirectory.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

namespace platform::applist {

namespace fs = std::filesystem;

namespace {

std::string string_entry(const foundation::NSDictionary& info, std::string_view key) {
    const std::string* value = foundation::string_of(info.get(std::string(key)).get());
    return value ? *value : std::string();
}

std::vector<std::string> app_folder_names(const fs::path& directory) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        std::error_code unreadable; // an entry that cannot be examined is skipped, not the rest
        if (it->path().extension() == ".app" && it->is_directory(unreadable))
            names.push_back(it->path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<AppRecord> read_app_directory(std::string_view device_directory) {
    const std::string device_dir = (fs::path("/") / device_directory).lexically_normal().string();
    const fs::path host_dir = foundation::resolve_device_path(device_dir);

    std::vector<AppRecord> apps;
    std::set<std::string> seen;
    for (const std::string& folder : app_folder_names(host_dir)) {
        auto info =
            foundation::read_dictionary_file((fs::path(device_dir) / folder / kInfoPlistName).string());
        if (!info)
            continue;
        AppRecord app;
        app.bundle_identifier = string_entry(*info, kBundleIdentifierKey);
        if (app.bundle_identifier.empty() || !seen.insert(app.bundle_identifier).second)
            continue;
        app.display_name = string_entry(*info, kDisplayNameKey);
        if (app.display_name.empty())
            app.display_name = string_entry(*info, kBundleNameKey);
        if (app.display_name.empty())
            app.display_name = app.bundle_identifier;
        app.bundle_folder = host_dir / folder;
        apps.push_back(std::move(app));
    }
    return apps;
}

} // namespace platform::applist
