#include "platform/springboard/ChromeDrawing.h"

#include <algorithm>
#include <cmath>

namespace platform::springboard {

using foundation::CGPoint;
using foundation::CGRect;
using foundation::CGRectMake;

namespace {
// Squares a quarter point apart: four per pixel at 2x, so a stroke shows no steps.
constexpr double kStep = 0.25;
} // namespace

void stroke_line(uikit::Canvas& canvas, CGPoint from, CGPoint to, double thickness,
                 const uikit::UIColor* colour) {
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    const int steps = std::max(1, static_cast<int>(std::ceil(length / kStep)));
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double x = from.x + (to.x - from.x) * t, y = from.y + (to.y - from.y) * t;
        canvas.fill_rect(CGRectMake(x - thickness / 2, y - thickness / 2, thickness, thickness), colour);
    }
}

void stroke_circle(uikit::Canvas& canvas, CGRect rect, double thickness, const uikit::UIColor* colour) {
    const double radius = std::min(rect.size.width, rect.size.height) / 2 - thickness / 2;
    if (radius <= 0)
        return;
    const int steps = std::max(8, static_cast<int>(std::ceil(2 * M_PI * radius / kStep)));
    for (int i = 0; i < steps; ++i) {
        const double a = 2 * M_PI * i / steps;
        const double x = rect.midX() + radius * std::cos(a), y = rect.midY() + radius * std::sin(a);
        canvas.fill_rect(CGRectMake(x - thickness / 2, y - thickness / 2, thickness, thickness), colour);
    }
}

void draw_chevron(uikit::Canvas& canvas, CGRect rect, double thickness, const uikit::UIColor* colour) {
    const CGPoint tip{rect.maxX() - thickness / 2, rect.midY()};
    stroke_line(canvas, {rect.minX() + thickness / 2, rect.minY() + thickness / 2}, tip, thickness, colour);
    stroke_line(canvas, tip, {rect.minX() + thickness / 2, rect.maxY() - thickness / 2}, thickness, colour);
}

void draw_circled_x(uikit::Canvas& canvas, CGRect rect, double thickness, const uikit::UIColor* colour) {
    stroke_circle(canvas, rect, thickness, colour);
    // The x spans the middle half of the ring.
    const double half = std::min(rect.size.width, rect.size.height) / 4 - thickness / 2;
    const CGPoint c{rect.midX(), rect.midY()};
    stroke_line(canvas, {c.x - half, c.y - half}, {c.x + half, c.y + half}, thickness, colour);
    stroke_line(canvas, {c.x + half, c.y - half}, {c.x - half, c.y + half}, thickness, colour);
}

} // namespace platform::springboard
