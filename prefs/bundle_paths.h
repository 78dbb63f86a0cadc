// Where the pane's own files live on the device.
#pragma once

#include <string>

namespace zimtone::prefs {

inline constexpr const char* kBundleDirectory = "/Library/PreferenceBundles/Zimtone2.bundle";

// "<bundle directory>/<name>", the "%@/%@" of the header and portrait images.
inline std::string bundle_file(const std::string& name) {
    return std::string(kBundleDirectory) + "/" + name;
}

} // namespace zimtone::prefs
