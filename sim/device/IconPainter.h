// Draws simple app icons from primitives (background, circles, bars, strokes) and stores them as
// PNG files in the RGB, grey or indexed colour model.
#pragma once

#include <cstdint>
#include <filesystem>
#include <variant>
#include <vector>

namespace zimtone::device {

struct Rgba {
    uint8_t red{0};
    uint8_t green{0};
    uint8_t blue{0};
    uint8_t alpha{255};
};

// Shapes live in unit coordinates: (0, 0) is the icon's top-left corner, (1, 1) its bottom-right,
// so one design draws the same picture at every pixel size.
struct RoundedRect {
    double left, top, right, bottom;
    double corner_radius{0};
};
struct Ellipse {
    double centre_x, centre_y, radius_x, radius_y;
};
// A straight stroke with round caps.
struct Stroke {
    double x0, y0, x1, y1;
    double width;
};
struct Triangle {
    double x0, y0, x1, y1, x2, y2;
};
using Geometry = std::variant<RoundedRect, Ellipse, Stroke, Triangle>;

struct Shape {
    Geometry geometry;
    Rgba colour;
};

// The background fills the icon minus a margin, with rounded corners, shaded from top to bottom;
// what lies outside it stays transparent. Shapes are painted over it in order.
struct IconDesign {
    Rgba background_top{0, 0, 0, 0};
    Rgba background_bottom{0, 0, 0, 0};
    double margin{0};
    double corner_radius{0};
    std::vector<Shape> shapes;
};

enum class StorageModel { RGB, Grey, Indexed };
enum class Antialiasing { On, Off };

// Straight RGBA pixels of a square bitmap of the given size, top row first.
std::vector<uint8_t> paint_icon(const IconDesign& design, int pixel_size, Antialiasing antialiasing);

// Paints and writes one icon file. RGB files keep smooth edges and any alpha. Grey and indexed
// files are painted with hard edges, as old icons were: a grey file keeps one transparent level
// (pixels under half opacity), an indexed file one palette entry per colour. Throws
// std::runtime_error naming the file when it cannot be written or the design does not fit the model.
void write_icon_file(const std::filesystem::path& file, const IconDesign& design, int pixel_size,
                     StorageModel model);

} // namespace zimtone::device
