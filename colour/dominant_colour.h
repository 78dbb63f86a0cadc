// The app colour derived from an app icon.
#pragma once

#include "colour/Colour.h"
#include "colour/Image.h"

namespace zimtone::colour {

// The mean colour of the image as drawn at its point size into an RGBA bitmap with premultiplied
// alpha: transparent parts count as black, so they darken the result. Despite the name there is
// no histogram; it is a plain mean. Returns an opaque colour; every failure (no image, an empty
// or sub-point size, a non-RGB bitmap, no memory) gives opaque black.
Colour getDominantColor(const Image* image);

} // namespace zimtone::colour
