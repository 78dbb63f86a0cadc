// PNG files to and from the colour engine's images.
#pragma once

#include "colour/Image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::uikit {

// Reads a PNG into straight 8-bit RGBA, whatever its layout: palettes and greys are expanded,
// 16-bit samples keep their high byte, a tRNS chunk becomes alpha. The image keeps the colour
// model the file was stored in and gets the point size pixel size / scale. A missing, truncated
// or malformed file, anything but a regular file, a side over 4096 pixels, or a scale that is
// not a positive number, gives nullopt.
std::optional<zimtone::colour::Image> decodePng(const std::string& path, double scale);

struct PngSize {
    uint32_t width{0};
    uint32_t height{0};
};

// The pixel size a PNG file's header declares, read without decoding anything; nullopt for a
// file that is not a regular file or does not start like a PNG.
std::optional<PngSize> readPngSize(const std::string& path);

// Writes an 8-bit RGBA PNG from straight RGBA rows, top row first. False on any failure, and a
// partly written file is removed.
bool encodePngRGBA(const std::string& path, int width, int height, const uint8_t* rgba_straight);

// Writes an 8-bit grey PNG. With a transparent level, pixels of exactly that level are transparent
// (a tRNS chunk), as older icon files do it.
bool encodePngGrey(const std::string& path, int width, int height, const uint8_t* grey,
                   std::optional<uint8_t> transparent_level = std::nullopt);

struct PaletteEntry {
    uint8_t red{0};
    uint8_t green{0};
    uint8_t blue{0};
    uint8_t alpha{255};
};

// Writes an 8-bit indexed PNG with up to 256 entries; entry alphas below 255 go into a tRNS
// chunk. An index outside the palette is a failure.
bool encodePngPalette(const std::string& path, int width, int height, const uint8_t* indices,
                      const std::vector<PaletteEntry>& palette);

} // namespace platform::uikit
