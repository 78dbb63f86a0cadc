// Turning a drawn frame (a cairo image surface, premultiplied ARGB) into straight RGBA and into
// the bytes of a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/Result.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform::render {

// One row of premultiplied ARGB pixels as straight RGBA, rounded to nearest; fully transparent
// pixels become transparent black.
void unpremultiply_row(const uint32_t* argb, int width, uint8_t* rgba);

// The frame as an 8-bit RGBA PNG. Frames are encoded many times a second for the live page and
// live briefly, so this trades size for speed: zlib's fastest level and no row filter, about three
// times quicker than libpng's defaults for files under twice the size. A failure saying why when
// the surface is not an ARGB image or the encoder fails.
foundation::Result<std::vector<uint8_t>> encode_frame_png(cairo_surface_t* surface);

} // namespace platform::render
