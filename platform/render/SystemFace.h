// The phone's system font as drawn here. Inter stands in for it: its text face below 20 points
// and its display face from 20 up, as the phone switches faces, in the weight the font's name
// asks for. Without Inter, text falls back to DejaVu Sans in the same weights.
#pragma once

#include <string>

namespace platform::render {

inline constexpr double kDisplayFaceFromPointSize = 20.0;
inline constexpr const char* kTextFamily = "Inter";
inline constexpr const char* kDisplayFamily = "Inter Display";
inline constexpr const char* kFallbackFamily = "DejaVu Sans";

struct FaceChoice {
    std::string family;
    int weight{400}; // CSS / pango weight: 100 thin ... 400 regular ... 900 black
};

// The weight a host font name asks for, as the platform writes it (".SFUIText-Semibold",
// "HelveticaNeue-Light"); a name without a weight draws regular.
int weight_of_font_name(const std::string& font_name);

FaceChoice system_face(const std::string& font_name, double point_size, bool inter_installed);

// Whether the text layout can find Inter; asked once per process, with a one-line warning on
// standard error when it cannot.
bool inter_installed();

} // namespace platform::render
