#include "platform/render/ViewRenderer.h"

#include <cmath>
#include <cstddef>

#include <pango/pangocairo.h>

#include "platform/foundation/AtomicFile.h"
#include "platform/render/CairoCanvas.h"
#include "platform/render/FramePng.h"
#include "platform/render/TreePainter.h"
#include "platform/uikit/UIView.h"

namespace platform::render {

namespace {

// Beyond this the scale is a mistake rather than a wish for a sharper picture.
constexpr double kLargestScale = 8.0;
// Keeps one picture within a few hundred megabytes.
constexpr double kLargestSide = 16384.0;
constexpr double kLargestPixelCount = 64.0 * 1024 * 1024;

} // namespace

ViewRenderer::ViewRenderer(RenderOptions options) : options_(options) {}

ViewRenderer::~ViewRenderer() {
    if (surface_)
        cairo_surface_destroy(surface_);
    if (pango_)
        g_object_unref(pango_);
}

Result<void> ViewRenderer::render(const uikit::UIView* view) {
    if (!view)
        return foundation::Failure{"no view to draw"};
    const double scale = options_.scale;
    if (!(std::isfinite(scale) && scale > 0 && scale <= kLargestScale))
        return foundation::Failure{"the scale must be a number above 0 and at most 8"};
    const auto size = view->frame().size;
    if (!(std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 && size.height > 0))
        return foundation::Failure{"the view has no area to draw"};
    const double width = std::ceil(size.width * scale), height = std::ceil(size.height * scale);
    if (width > kLargestSide || height > kLargestSide || width * height > kLargestPixelCount)
        return foundation::Failure{"the view is too large to draw at this scale"};

    const int pixel_width = static_cast<int>(width), pixel_height = static_cast<int>(height);
    if (!surface_ || cairo_image_surface_get_width(surface_) != pixel_width ||
        cairo_image_surface_get_height(surface_) != pixel_height) {
        if (surface_)
            cairo_surface_destroy(surface_);
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixel_width, pixel_height);
        if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface_);
            surface_ = nullptr;
            return foundation::Failure{"out of memory for the picture"};
        }
    }
    if (!pango_) {
        pango_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
        // Metrics that do not snap to whole pixels keep text the same shape at every scale.
        cairo_font_options_t* font_options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(font_options, CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(pango_, font_options);
        cairo_font_options_destroy(font_options);
    }

    cairo_t* cr = cairo_create(surface_);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_scale(cr, scale, scale);
    CairoCanvas canvas(cr, pango_, images_);
    TreePainter(cr, surface_, canvas).paint_root(*view);
    const cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
    images_.end_frame();
    if (status != CAIRO_STATUS_SUCCESS)
        return foundation::Failure{cairo_status_to_string(status)};
    return {};
}

zimtone::colour::Image ViewRenderer::image() const {
    if (!surface_)
        return {};
    const int width = cairo_image_surface_get_width(surface_),
              height = cairo_image_surface_get_height(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (int y = 0; y < height; ++y)
        unpremultiply_row(reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride),
                          width, rgba.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4);
    return zimtone::colour::Image::fromPixels(width, height, options_.scale, std::move(rgba));
}

Result<std::vector<uint8_t>> ViewRenderer::png() const {
    if (!surface_)
        return foundation::Failure{"nothing has been drawn yet"};
    return encode_frame_png(surface_);
}

Result<void> render_view_png(const uikit::UIView* view, const std::string& path,
                             const RenderOptions& options) {
    if (path.empty())
        return foundation::Failure{"no file name given"};
    auto bytes = render_view_png_bytes(view, options);
    if (!bytes)
        return foundation::Failure{bytes.error()};
    return foundation::write_file_atomically(path, *bytes);
}

Result<std::vector<uint8_t>> render_view_png_bytes(const uikit::UIView* view, const RenderOptions& options) {
    ViewRenderer renderer(options);
    if (auto drawn = renderer.render(view); !drawn)
        return foundation::Failure{drawn.error()};
    return renderer.png();
}

Result<zimtone::colour::Image> render_view_image(const uikit::UIView* view, const RenderOptions& options) {
    ViewRenderer renderer(options);
    if (auto drawn = renderer.render(view); !drawn)
        return foundation::Failure{drawn.error()};
    return renderer.image();
}

} // namespace platform::render
