// A decoded bitmap together with the point size and scale it is drawn at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zimtone::colour {

// The family of the colour space the bitmap was stored in. Pixels are always expanded to RGBA
// bytes, but the tag survives because only RGB bitmaps can be drawn into an RGB context.
enum class ColourModel { RGB, Grey, Indexed };

// An image as the colour engine sees it: a size in points (which need not be whole), the scale
// that relates points to pixels, and straight (not premultiplied) 8-bit RGBA pixels, row-major,
// top row first, pixel_width * pixel_height * 4 bytes.
struct Image {
    double width{0};
    double height{0};
    double scale{1};
    int pixel_width{0};
    int pixel_height{0};
    ColourModel model{ColourModel::RGB};
    bool has_alpha{false};
    std::vector<uint8_t> pixels;

    // The point size follows from the pixel size and the scale, as for an image loaded from disk.
    static Image fromPixels(int pixel_width, int pixel_height, double scale, std::vector<uint8_t> rgba,
                            ColourModel model = ColourModel::RGB, bool has_alpha = true) {
        Image image;
        image.width = pixel_width / scale;
        image.height = pixel_height / scale;
        image.scale = scale;
        image.pixel_width = pixel_width;
        image.pixel_height = pixel_height;
        image.model = model;
        image.has_alpha = has_alpha;
        image.pixels = std::move(rgba);
        return image;
    }

    // True when the pixel buffer holds exactly the bytes the pixel size promises.
    bool hasConsistentPixels() const {
        return pixel_width > 0 && pixel_height > 0 &&
               pixels.size() == static_cast<size_t>(pixel_width) * static_cast<size_t>(pixel_height) * 4;
    }
};

} // namespace zimtone::colour
