// The embedded default device: sample apps with drawn icons and the empty folders the system
// expects, so everything runs on a fresh machine with nothing else supplied.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zimtone::device {

// What a sample app's icon is there to exercise.
enum class IconKind {
    Light,        // a bright RGB icon, which takes dark text
    Dark,         // a dark RGB icon, which takes white text
    Saturated,    // a strongly coloured RGB icon
    GreyModel,    // stored as a grey PNG
    PaletteModel, // stored as an indexed PNG
    Transparent,  // an RGB icon that is mostly transparent margin around its picture
    None,         // no icon file at all
};

struct SampleApp {
    std::string bundle_identifier;
    std::string display_name;
    IconKind kind;
    // Scales of the small icon files present (1 for "Icon-Small.png", 2 for "@2x", 3 for "@3x").
    std::vector<int> scales;
    // True when the icon has fully transparent parts (rounded corners, margins, a shape alone).
    bool has_transparency;
};

std::vector<SampleApp> default_apps();

// Writes every sample app under root/Applications, replacing earlier copies of those apps and
// leaving other apps alone, and creates the preferences and package-list folders. Never writes
// the settings file, so running it again changes nothing a user set. Throws std::runtime_error
// or std::filesystem::filesystem_error naming the path that could not be written.
void generate_default_device(const std::filesystem::path& root);

} // namespace zimtone::device
