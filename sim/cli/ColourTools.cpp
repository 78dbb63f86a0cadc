#include "sim/cli/ColourTools.h"

#include <fstream>
#include <iterator>

#include "colour/adjustments.h"
#include "colour/dominant_colour.h"
#include "colour/hex_codec.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Loaders.h"
#include "settings/SettingsJson.h"
#include "sim/cli/IconFile.h"

namespace zimtone::cli {

using namespace zimtone::colour;

namespace {
nlohmann::json components(const Colour& c) {
    return {c.red, c.green, c.blue, c.alpha};
}
const char* text_name(TextColour t) {
    return t == TextColour::White ? "white" : "black";
}

// Reads a settings file given as a host path, with the same limits as the device's reader.
platform::runtime::Ref<platform::foundation::NSDictionary> read_host_dictionary(const std::string& path) {
    constexpr std::streamsize kLimit = 8 << 20;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    std::string bytes;
    bytes.resize(kLimit + 1);
    in.read(bytes.data(), kLimit + 1);
    if (in.gcount() > kLimit)
        return nullptr;
    bytes.resize(static_cast<size_t>(in.gcount()));
    auto root = platform::foundation::parse_property_list(bytes.data(), bytes.size());
    return platform::runtime::Ref<platform::foundation::NSDictionary>(
        dynamic_cast<platform::foundation::NSDictionary*>(root.get()));
}
} // namespace

platform::foundation::Result<nlohmann::json> colour_report(const std::string& png_path) {
    auto image = read_icon_file(png_path);
    if (!image)
        return platform::foundation::Failure{image.error()};
    Colour dominant = getDominantColor(&(*image)->image());
    return nlohmann::json{{"dominant", components(dominant)},
                          {"text", text_name(reverseColor(dominant))},
                          {"hex", hexValuesFromColour(dominant)}};
}

nlohmann::json hex_decode(const std::string& text) {
    auto c = colorWithHexString(text);
    return c ? components(*c) : nlohmann::json(nullptr);
}

std::string hex_encode(double r, double g, double b) {
    return hexValuesFromColour({r, g, b, 1.0});
}

nlohmann::json saturate(double r, double g, double b, double a, double saturation) {
    return components(modifySaturationWith({r, g, b, a}, saturation));
}

std::string reverse(double r, double g, double b) {
    return text_name(reverseColor({r, g, b, 1.0}));
}

nlohmann::json settings_after_loading(const std::optional<std::string>& host_file) {
    using namespace zimtone::settings;
    SettingsState s;
    for (Group g : {Group::Banner, Group::Lockscreen, Group::NotificationCenter, Group::Requests}) {
        auto dictionary =
            host_file ? read_host_dictionary(*host_file)
                      : platform::foundation::NSDictionary::dictionaryWithContentsOfFile(kSettingsFile);
        apply_group(s, g, dictionary.get());
    }
    return settings_json(s);
}

} // namespace zimtone::cli
