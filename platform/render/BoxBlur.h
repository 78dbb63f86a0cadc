// A cheap Gaussian-like blur: three box passes each way over 32-bit pixels, in place.
#pragma once

#include <cstdint>

namespace platform::render {

// Blurs a width x height block of 4-byte pixels whose rows are stride_pixels apart. Each of the
// four bytes of a pixel is blurred on its own, so premultiplied and straight pixels both work.
// Edges repeat their outermost pixel, so a flat block stays exactly flat. A radius below 1, or
// an empty block, leaves the pixels as they are.
void box_blur(uint32_t* pixels, int width, int height, int stride_pixels, int radius);

} // namespace platform::render
