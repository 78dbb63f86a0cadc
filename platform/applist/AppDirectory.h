// Reads the installed apps from the device's applications folder: one "<name>.app" folder per app.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform::applist {

inline constexpr std::string_view kApplicationsDevicePath = "/Applications";
inline constexpr std::string_view kInfoPlistName = "Info.plist";
inline constexpr std::string_view kBundleIdentifierKey = "CFBundleIdentifier";
inline constexpr std::string_view kDisplayNameKey = "CFBundleDisplayName";
inline constexpr std::string_view kBundleNameKey = "CFBundleName";

// The small (29-point) icon files of an app folder, most detailed first, with their scales.
struct IconFile {
    std::string_view name;
    double scale;
};
inline constexpr std::array<IconFile, 3> kSmallIconFiles{{
    {"Icon-Small@3x.png", 3},
    {"Icon-Small@2x.png", 2},
    {"Icon-Small.png", 1},
}};
inline constexpr double kSmallIconPointSize = 29;

// One installed app as its folder describes it.
struct AppRecord {
    std::string bundle_identifier;
    std::string display_name;
    // Host path of the ".app" folder, fixed when the folder was read.
    std::filesystem::path bundle_folder;
};

// Every app folder directly inside the given device directory, ordered by folder name. A folder
// without a readable Info.plist or without a bundle identifier is not an app and is skipped; of
// two folders claiming one identifier the first wins. The display name falls back to
// CFBundleName, then to the identifier. A missing directory reads as no apps.
std::vector<AppRecord> read_app_directory(std::string_view device_directory = kApplicationsDevicePath);

} // namespace platform::applist
