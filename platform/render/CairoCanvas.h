// The canvas views draw their content on, backed by a cairo context and pango text layout.
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include "platform/render/ImageCache.h"
#include "platform/uikit/Canvas.h"

namespace platform::render {

// Draws in the context's current user space (points). Text is set in the system face for the
// font's name and point size (SystemFace.h), on one line with an ellipsis when too long.
class CairoCanvas final : public uikit::Canvas {
  public:
    CairoCanvas(cairo_t* cr, PangoContext* pango, ImageCache& images)
        : cr_(cr), pango_(pango), images_(images) {}

    void fill_rect(foundation::CGRect rect, const uikit::UIColor* colour) override;
    void draw_text(foundation::CGRect rect, const foundation::NSAttributedString* text,
                   const uikit::UIFont* font, const uikit::UIColor* fallback_colour,
                   int64_t alignment) override;
    void draw_image(foundation::CGRect rect, const uikit::UIImage* image) override;

  private:
    cairo_t* cr_;
    PangoContext* pango_;
    ImageCache& images_;
};

// A rectangle that cairo can take: finite numbers, a size of at least zero.
bool is_drawable(const foundation::CGRect& rect);

} // namespace platform::render
