// Draws a view tree to pixels, PNG bytes or a PNG file with cairo and pango.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour/Image.h"
#include "platform/foundation/Result.h"
#include "platform/render/ImageCache.h"

typedef struct _PangoContext PangoContext;

namespace platform::uikit {
class UIView;
}

namespace platform::render {

using foundation::Result;

struct RenderOptions {
    double scale{2.0}; // pixels per point
};

// A renderer that keeps its surface, text context and converted images from frame to frame,
// for callers that draw the same screen again and again. The view is drawn as it stands: lay it
// out first (layoutIfNeeded) if it may need it.
class ViewRenderer {
  public:
    explicit ViewRenderer(RenderOptions options = {});
    ViewRenderer(const ViewRenderer&) = delete;
    ViewRenderer& operator=(const ViewRenderer&) = delete;
    ~ViewRenderer();

    // Draws the view and its subtree at the view's frame size. A readable reason for a nil view,
    // a view without area, a scale out of range or a picture too large.
    Result<void> render(const uikit::UIView* view);

    // The last frame as straight RGBA at the scale; an empty image before the first frame.
    zimtone::colour::Image image() const;
    // The last frame as a PNG file's bytes; a failure before the first frame.
    Result<std::vector<uint8_t>> png() const;

  private:
    RenderOptions options_;
    cairo_surface_t* surface_{nullptr};
    PangoContext* pango_{nullptr};
    ImageCache images_;
};

// Draws the view and its subtree (the view's frame size, at the given scale) and writes the PNG
// atomically. A readable reason when the view cannot be drawn or the file written.
Result<void> render_view_png(const uikit::UIView* view, const std::string& path,
                             const RenderOptions& options);

// The same picture as the bytes of a PNG file.
Result<std::vector<uint8_t>> render_view_png_bytes(const uikit::UIView* view, const RenderOptions& options);

// The same picture as straight RGBA pixels, top row first.
Result<zimtone::colour::Image> render_view_image(const uikit::UIView* view, const RenderOptions& options);

} // namespace platform::render
