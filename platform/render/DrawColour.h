// Colour components as the drawing library takes them: each in 0..1, never NaN.
#pragma once

#include <algorithm>
#include <cmath>

#include "colour/Colour.h"

namespace platform::render {

// Colours may carry components outside 0..1 (decoded hex values do); drawing pins them to the
// range, and a NaN, which would otherwise poison the pixels, reads as 0.
inline double unit(double value) {
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

struct DrawColour {
    double red{0};
    double green{0};
    double blue{0};
    double alpha{0};

    static DrawColour of(const zimtone::colour::Colour& c, double opacity = 1.0) {
        return {unit(c.red), unit(c.green), unit(c.blue), unit(c.alpha) * unit(opacity)};
    }
};

} // namespace platform::render
