#include "render_support.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/render/ViewRenderer.h"

namespace render_test {

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "rgba(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

bool near(const Rgba& actual, const Rgba& expected, int tolerance) {
    return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance && std::abs(actual.a - expected.a) <= tolerance;
}

zimtone::colour::Image draw(const platform::uikit::UIView& view, double scale) {
    auto image = platform::render::render_view_image(&view, {scale});
    EXPECT_TRUE(image) << image.error();
    return image ? *image : zimtone::colour::Image{};
}

Rgba pixel_at(const zimtone::colour::Image& image, double x_points, double y_points) {
    const int x = static_cast<int>(std::floor(x_points * image.scale));
    const int y = static_cast<int>(std::floor(y_points * image.scale));
    if (x < 0 || y < 0 || x >= image.pixel_width || y >= image.pixel_height) {
        ADD_FAILURE() << "probe (" << x_points << ", " << y_points << ") lies outside the picture";
        return {-1, -1, -1, -1};
    }
    const uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.pixel_width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

platform::runtime::Ref<platform::uikit::UIColor> rgba(double r, double g, double b, double a) {
    return platform::uikit::UIColor::colorWithRGBA(r, g, b, a);
}

} // namespace render_test

// Fontconfig keeps its font cache for the life of the process, which the leak checker of
// sanitizer builds would otherwise report as lost.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
