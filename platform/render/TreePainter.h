// Paints a view tree, back to front, onto a cairo context whose user space is in points.
#pragma once

#include <vector>

#include <cairo.h>

#include "platform/foundation/Geometry.h"
#include "platform/render/CairoCanvas.h"

namespace platform::uikit {
class CALayer;
class UIBackdropView;
class UIView;
} // namespace platform::uikit

namespace platform::render {

// For each visible view: a backdrop's blur and tint, the layer's background (rounded by its
// corner radius), its contents image, gradient and sublayers, then the view's own content
// (clipped to its bounds, as drawing always is), then the subviews. Alpha multiplies down the
// tree; clipsToBounds clips to the rounded bounds; a mask layer multiplies the alpha of what
// the view draws; a compositing filter blends the view lighter (screen) over what lies below.
// Sublayers come before the view's own content so that a layer used as a background never
// hides it. Hidden views, views with no alpha and frames that are not finite numbers are skipped.
class TreePainter {
  public:
    TreePainter(cairo_t* cr, cairo_surface_t* target, CairoCanvas& canvas)
        : cr_(cr), canvas_(canvas), targets_{target} {}

    // Draws the view at the origin of the current user space.
    void paint_root(const uikit::UIView& view);

  private:
    void paint_view(const uikit::UIView& view, foundation::CGRect frame);
    void paint_sublayer(const uikit::CALayer& layer);
    // Background, contents, gradient and sublayers, in the layer's own bounds.
    void paint_layer_content(const uikit::CALayer& layer, foundation::CGRect bounds);
    // Runs body inside the layer's clip, alpha, mask and filter; extent_of() bounds what body
    // draws and is asked only when a group is needed.
    template <class Extent, class Body>
    void with_effects(const uikit::CALayer& layer, foundation::CGRect bounds, double alpha, Extent extent_of,
                      Body body);
    // The mask layer's drawing as a pattern whose alpha scales by alpha; nullptr when the layer
    // is already being drawn as a mask further up (a mask cycle).
    cairo_pattern_t* mask_pattern(const uikit::CALayer& mask, double alpha);
    void paint_backdrop(const uikit::UIBackdropView& backdrop, foundation::CGRect bounds);

    cairo_t* cr_;
    CairoCanvas& canvas_;
    // The surface the tree is drawn on, then each group opened for alpha, mask or filter: a
    // backdrop blurs them composited, which is what lies behind it.
    std::vector<cairo_surface_t*> targets_;
    std::vector<const uikit::CALayer*> masks_in_progress_;
};

} // namespace platform::render
