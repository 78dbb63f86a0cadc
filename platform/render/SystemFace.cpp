#include "platform/render/SystemFace.h"

#include <pango/pangocairo.h>

#include <cstdio>
#include <string_view>

namespace platform::render {

int weight_of_font_name(const std::string& font_name) {
    // Longer names first: "Semibold" holds "bold", "UltraLight" holds "Light".
    static constexpr std::pair<std::string_view, int> kWeights[] = {
        {"UltraLight", 200}, {"Thin", 100},  {"Light", 300}, {"Semibold", 600}, {"SemiBold", 600},
        {"Medium", 500},     {"Heavy", 800}, {"Black", 900}, {"Bold", 700},
    };
    for (const auto& [word, weight] : kWeights)
        if (font_name.find(word) != std::string::npos)
            return weight;
    return 400;
}

FaceChoice system_face(const std::string& font_name, double point_size, bool inter) {
    const char* family = !inter                                    ? kFallbackFamily
                         : point_size >= kDisplayFaceFromPointSize ? kDisplayFamily
                                                                   : kTextFamily;
    return {family, weight_of_font_name(font_name)};
}

namespace {

bool font_map_has(PangoFontMap* map, std::string_view family_name) {
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(map, &families, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i)
        found = family_name == pango_font_family_get_name(families[i]);
    g_free(families);
    return found;
}

} // namespace

bool inter_installed() {
    static const bool installed = [] {
        PangoFontMap* map = pango_cairo_font_map_get_default();
        bool both = font_map_has(map, kTextFamily) && font_map_has(map, kDisplayFamily);
        if (!both)
            std::fprintf(stderr, "zimtone: the Inter font is not installed (Debian package fonts-inter); "
                                 "text is drawn in DejaVu Sans\n");
        return both;
    }();
    return installed;
}

} // namespace platform::render
