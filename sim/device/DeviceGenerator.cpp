#include "sim/device/DeviceGenerator.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "platform/applist/AppDirectory.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "sim/device/IconPainter.h"

namespace zimtone::device {

namespace fs = std::filesystem;
namespace applist = platform::applist;

namespace {

constexpr Rgba kWhite{255, 255, 255};
constexpr Rgba kClear{0, 0, 0, 0};

constexpr Rgba grey(uint8_t level) {
    return {level, level, level};
}

struct Sample {
    SampleApp app;
    IconDesign icon;
};

IconDesign speech_bubble() {
    return {
        {0x66, 0xF0, 0x7A},
        {0x0B, 0xC8, 0x1F},
        0,
        0,
        {{Ellipse{0.50, 0.45, 0.33, 0.27}, kWhite}, {Triangle{0.27, 0.58, 0.20, 0.80, 0.42, 0.68}, kWhite}}};
}

IconDesign envelope() {
    constexpr Rgba flap{0x1A, 0x7C, 0xF2};
    return {{0x1E, 0x9B, 0xFF},
            {0x17, 0x60, 0xE8},
            0,
            0,
            {{RoundedRect{0.18, 0.30, 0.82, 0.70, 0.04}, kWhite},
             {Stroke{0.20, 0.33, 0.50, 0.55, 0.045}, flap},
             {Stroke{0.50, 0.55, 0.80, 0.33, 0.045}, flap}}};
}

IconDesign handset() {
    return {{0x5C, 0xE0, 0x6E},
            {0x28, 0xB9, 0x46},
            0,
            0,
            {{Stroke{0.25, 0.24, 0.37, 0.30, 0.15}, kWhite},
             {Stroke{0.27, 0.30, 0.29, 0.54, 0.10}, kWhite},
             {Stroke{0.29, 0.54, 0.46, 0.71, 0.10}, kWhite},
             {Stroke{0.46, 0.71, 0.70, 0.73, 0.10}, kWhite},
             {Stroke{0.70, 0.63, 0.76, 0.75, 0.15}, kWhite}}};
}

IconDesign sun_and_cloud() {
    return {{0x1C, 0x8A, 0xF5},
            {0x62, 0xC6, 0xFA},
            0,
            0,
            {{Ellipse{0.36, 0.36, 0.17, 0.17}, {0xFF, 0xD6, 0x0A}},
             {Ellipse{0.48, 0.62, 0.16, 0.14}, kWhite},
             {Ellipse{0.66, 0.56, 0.18, 0.17}, kWhite},
             {RoundedRect{0.32, 0.60, 0.84, 0.76, 0.08}, kWhite}}};
}

IconDesign notepad() {
    constexpr Rgba rule{0xC8, 0xC7, 0xCC};
    return {kWhite,
            {0xF4, 0xF2, 0xE8},
            0,
            0,
            {{RoundedRect{0, 0, 1, 0.20}, {0xF9, 0xD2, 0x4D}},
             {Stroke{0.14, 0.42, 0.86, 0.42, 0.025}, rule},
             {Stroke{0.14, 0.58, 0.86, 0.58, 0.025}, rule},
             {Stroke{0.14, 0.74, 0.86, 0.74, 0.025}, rule}}};
}

IconDesign road_map() {
    constexpr Rgba pin{0xFF, 0x3B, 0x30};
    return {{0xF1, 0xF4, 0xE6},
            {0xDD, 0xEC, 0xD6},
            0,
            0,
            {{Stroke{-0.1, 0.80, 1.1, 0.35, 0.14}, kWhite},
             {Stroke{0.35, -0.1, 0.60, 1.1, 0.09}, {0xFF, 0xD8, 0x5C}},
             {Ellipse{0.62, 0.40, 0.09, 0.09}, pin},
             {Triangle{0.55, 0.44, 0.69, 0.44, 0.62, 0.58}, pin}}};
}

IconDesign compass() {
    return {kWhite,
            {0xF2, 0xF2, 0xF7},
            0,
            0.22,
            {{Ellipse{0.5, 0.5, 0.38, 0.38}, {0x1E, 0x88, 0xF0}},
             {Ellipse{0.5, 0.5, 0.33, 0.33}, kWhite},
             {Triangle{0.70, 0.30, 0.46, 0.46, 0.54, 0.54}, {0xFF, 0x3B, 0x30}},
             {Triangle{0.30, 0.70, 0.46, 0.46, 0.54, 0.54}, {0xD0, 0xD0, 0xD8}}}};
}

IconDesign globe() {
    constexpr Rgba blue{0x2F, 0x80, 0xED};
    return {kWhite,
            {0xEE, 0xF3, 0xFA},
            0,
            0,
            {{Ellipse{0.5, 0.5, 0.34, 0.34}, blue},
             {Stroke{0.16, 0.5, 0.84, 0.5, 0.03}, kWhite},
             {Stroke{0.5, 0.16, 0.5, 0.84, 0.03}, kWhite}}};
}

IconDesign cloud() {
    constexpr Rgba blue{0x4A, 0xA8, 0xFF};
    return {kWhite,
            {0xEA, 0xF4, 0xFF},
            0,
            0,
            {{Ellipse{0.42, 0.52, 0.14, 0.13}, blue},
             {Ellipse{0.58, 0.46, 0.17, 0.16}, blue},
             {RoundedRect{0.26, 0.50, 0.78, 0.66, 0.08}, blue}}};
}

IconDesign key_ring() {
    constexpr Rgba red{0xEA, 0x43, 0x35};
    return {kWhite,
            {0xF5, 0xF5, 0xF5},
            0,
            0,
            {{Ellipse{0.40, 0.50, 0.20, 0.20}, red},
             {Ellipse{0.40, 0.50, 0.12, 0.12}, kWhite},
             {Stroke{0.58, 0.50, 0.84, 0.50, 0.07}, red},
             {Stroke{0.78, 0.50, 0.78, 0.62, 0.06}, red}}};
}

IconDesign stripes() {
    return {grey(0x22),
            grey(0x0E),
            0,
            0,
            {{Stroke{0.35, 0.05, 0.15, 0.95, 0.06}, kWhite},
             {Stroke{0.60, 0.05, 0.40, 0.95, 0.06}, kWhite},
             {Stroke{0.85, 0.05, 0.65, 0.95, 0.06}, kWhite}}};
}

IconDesign calculator_keys() {
    return {{0x3A, 0x3A, 0x3C},
            {0x1C, 0x1C, 0x1E},
            0,
            0,
            {{Ellipse{0.70, 0.70, 0.16, 0.16}, {0xFF, 0x95, 0x00}},
             {Stroke{0.22, 0.32, 0.42, 0.32, 0.06}, kWhite},
             {Stroke{0.32, 0.22, 0.32, 0.42, 0.06}, kWhite},
             {Stroke{0.60, 0.32, 0.80, 0.32, 0.06}, grey(0xA5)},
             {Stroke{0.62, 0.66, 0.78, 0.66, 0.045}, kWhite},
             {Stroke{0.62, 0.74, 0.78, 0.74, 0.045}, kWhite}}};
}

IconDesign crescent_moon() {
    return {{0x16, 0x22, 0x4A},
            {0x05, 0x0A, 0x1E},
            0,
            0.22,
            {{Ellipse{0.46, 0.50, 0.26, 0.26}, {0xFF, 0xF1, 0xB8}},
             {Ellipse{0.58, 0.42, 0.24, 0.24}, {0x10, 0x19, 0x3A}},
             {Ellipse{0.78, 0.72, 0.03, 0.03}, kWhite},
             {Ellipse{0.70, 0.22, 0.02, 0.02}, kWhite},
             {Ellipse{0.24, 0.80, 0.02, 0.02}, kWhite}}};
}

IconDesign home_grid() {
    IconDesign design{grey(0x00), {0x1C, 0x1C, 0x1E}, 0, 0, {}};
    for (double top : {0.16, 0.42, 0.68})
        for (double left : {0.16, 0.42, 0.68})
            design.shapes.push_back(
                {RoundedRect{left, top, left + 0.16, top + 0.16, 0.04}, {0xE5, 0xE5, 0xEA}});
    return design;
}

IconDesign camera_body() {
    return {grey(0xE0),
            grey(0xA8),
            0,
            0,
            {{RoundedRect{0.14, 0.30, 0.86, 0.78, 0.06}, grey(0x3C)},
             {RoundedRect{0.36, 0.22, 0.64, 0.32, 0.03}, grey(0x3C)},
             {Ellipse{0.5, 0.54, 0.17, 0.17}, grey(0xE8)},
             {Ellipse{0.5, 0.54, 0.11, 0.11}, grey(0x2A)}}};
}

IconDesign gear() {
    constexpr Rgba teeth = grey(0x4A);
    return {grey(0x9A),
            grey(0x7C),
            0,
            0.22,
            {{Stroke{0.19, 0.50, 0.81, 0.50, 0.12}, teeth},
             {Stroke{0.50, 0.19, 0.50, 0.81, 0.12}, teeth},
             {Stroke{0.28, 0.28, 0.72, 0.72, 0.12}, teeth},
             {Stroke{0.28, 0.72, 0.72, 0.28, 0.12}, teeth},
             {Ellipse{0.5, 0.5, 0.24, 0.24}, teeth},
             {Ellipse{0.5, 0.5, 0.11, 0.11}, grey(0xC8)}}};
}

IconDesign music_note() {
    return {{0xD1, 0x5B, 0xFF},
            {0x9B, 0x2B, 0xE0},
            0,
            0,
            {{Ellipse{0.42, 0.68, 0.11, 0.09}, kWhite},
             {Stroke{0.52, 0.68, 0.52, 0.26, 0.05}, kWhite},
             {Stroke{0.52, 0.26, 0.70, 0.34, 0.05}, kWhite}}};
}

IconDesign arcade_letter() {
    constexpr Rgba gold{0xFF, 0xD6, 0x0A};
    return {{0x1B, 0x1F, 0x5E},
            {0x1B, 0x1F, 0x5E},
            0.08,
            0,
            {{Stroke{0.30, 0.80, 0.50, 0.20, 0.09}, gold},
             {Stroke{0.50, 0.20, 0.70, 0.80, 0.09}, gold},
             {Stroke{0.38, 0.58, 0.62, 0.58, 0.08}, gold}}};
}

IconDesign exclamation_sticker() {
    return {kClear,
            kClear,
            0,
            0,
            {{Ellipse{0.53, 0.55, 0.40, 0.40}, {0, 0, 0, 70}},
             {Ellipse{0.50, 0.50, 0.38, 0.38}, {0xFF, 0x6B, 0x35}},
             {Stroke{0.50, 0.28, 0.50, 0.56, 0.10}, kWhite},
             {Ellipse{0.50, 0.70, 0.055, 0.055}, kWhite}}};
}

IconDesign ghost() {
    constexpr Rgba sheet{0xF4, 0xF4, 0xFA};
    constexpr Rgba eye{0x20, 0x20, 0x30};
    return {kClear,
            kClear,
            0,
            0,
            {{Ellipse{0.50, 0.90, 0.30, 0.05}, {0, 0, 0, 90}},
             {Ellipse{0.50, 0.42, 0.28, 0.26}, sheet},
             {RoundedRect{0.22, 0.42, 0.78, 0.80}, sheet},
             {Ellipse{0.31, 0.80, 0.095, 0.07}, sheet},
             {Ellipse{0.50, 0.80, 0.095, 0.07}, sheet},
             {Ellipse{0.69, 0.80, 0.095, 0.07}, sheet},
             {Ellipse{0.40, 0.42, 0.05, 0.07}, eye},
             {Ellipse{0.60, 0.42, 0.05, 0.07}, eye}}};
}

// The sample apps. Names mix lower and upper case so that sorting with and without case differ;
// the system identifiers near the end are ones the app lists must leave out.
const std::vector<Sample>& catalogue() {
    using enum IconKind;
    static const std::vector<Sample> samples{
        {{"com.apple.MobileSMS", "Messages", Saturated, {1, 2, 3}, false}, speech_bubble()},
        {{"com.apple.mobilemail", "Mail", Saturated, {1, 2}, false}, envelope()},
        {{"com.apple.mobilephone", "Phone", Saturated, {1, 2, 3}, false}, handset()},
        {{"com.apple.weather", "Weather", Saturated, {1, 2, 3}, false}, sun_and_cloud()},
        {{"com.apple.mobilenotes", "apple Notes", Light, {1, 2, 3}, false}, notepad()},
        {{"com.apple.Maps", "maps", Light, {1}, false}, road_map()},
        {{"com.apple.mobilesafari", "Safari", Light, {1, 2}, true}, compass()},
        {{"com.example.zebra", "Zebra", Dark, {1, 2}, false}, stripes()},
        {{"com.apple.calculator", "Calculator", Dark, {1, 2}, false}, calculator_keys()},
        {{"com.example.moonlight", "Moonlight", Dark, {1, 2, 3}, true}, crescent_moon()},
        {{"com.apple.camera", "Camera", GreyModel, {1, 2}, false}, camera_body()},
        {{"com.apple.Preferences", "Settings", GreyModel, {1}, true}, gear()},
        {{"com.apple.MobileStore", "iTunes Store", PaletteModel, {1, 2}, false}, music_note()},
        {{"com.example.retroarcade", "Retro Arcade", PaletteModel, {1}, true}, arcade_letter()},
        {{"com.example.sticker", "sticker", Transparent, {1, 2}, true}, exclamation_sticker()},
        {{"com.example.ghost", "Ghost", Transparent, {1}, true}, ghost()},
        {{"com.example.plaintext", "Plain Text", None, {}, false}, {}},
        {{"com.apple.springboard", "SpringBoard", Dark, {1}, false}, home_grid()},
        {{"com.apple.mobilesms.notification", "Messages Notification", Saturated, {1}, false},
         speech_bubble()},
        {{"com.apple.webapp", "Web App", Light, {1}, false}, globe()},
        {{"com.apple.CloudKit.ShareBear", "CloudKit Sharing", Light, {1}, false}, cloud()},
        {{"com.apple.social.SLGoogleAuth", "Google Sign-In", Light, {1}, false}, key_ring()},
    };
    return samples;
}

StorageModel storage_model(IconKind kind) {
    switch (kind) {
    case IconKind::GreyModel:
        return StorageModel::Grey;
    case IconKind::PaletteModel:
        return StorageModel::Indexed;
    default:
        return StorageModel::RGB;
    }
}

std::string_view icon_file_name(int scale) {
    auto file = std::find_if(applist::kSmallIconFiles.begin(), applist::kSmallIconFiles.end(),
                             [scale](const applist::IconFile& f) { return f.scale == scale; });
    if (file == applist::kSmallIconFiles.end())
        throw std::runtime_error("no small icon file has scale " + std::to_string(scale));
    return file->name;
}

// A device path under the given root, kept inside it as the device's path resolver does.
fs::path under(const fs::path& root, std::string_view device_path) {
    return root / (fs::path("/") / device_path).lexically_normal().relative_path();
}

void write_info_plist(const fs::path& file, const SampleApp& app) {
    auto info = platform::foundation::NSMutableDictionary::create();
    info->set(std::string(applist::kBundleIdentifierKey), platform::foundation::ns(app.bundle_identifier));
    info->set(std::string(applist::kDisplayNameKey), platform::foundation::ns(app.display_name));
    const std::string bytes =
        platform::foundation::serialise_property_list(info, platform::foundation::PlistFormat::XML);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (bytes.empty() || !out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

void write_app(const fs::path& applications, const Sample& sample) {
    const fs::path folder = applications / (sample.app.bundle_identifier + ".app");
    fs::remove_all(folder); // a fresh copy, so no file of an older layout lingers
    fs::create_directories(folder);
    write_info_plist(folder / applist::kInfoPlistName, sample.app);
    for (int scale : sample.app.scales) {
        const int pixels = static_cast<int>(applist::kSmallIconPointSize) * scale;
        write_icon_file(folder / icon_file_name(scale), sample.icon, pixels, storage_model(sample.app.kind));
    }
}

} // namespace

std::vector<SampleApp> default_apps() {
    std::vector<SampleApp> apps;
    for (const Sample& sample : catalogue())
        apps.push_back(sample.app);
    return apps;
}

void generate_default_device(const fs::path& root) {
    fs::create_directories(under(root, "/User/Library/Preferences"));
    fs::create_directories(under(root, "/var/lib/dpkg/info"));
    const fs::path applications = under(root, applist::kApplicationsDevicePath);
    fs::create_directories(applications);
    for (const Sample& sample : catalogue())
        write_app(applications, sample);
}

} // namespace zimtone::device
