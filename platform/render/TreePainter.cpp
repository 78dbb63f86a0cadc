#include "platform/render/TreePainter.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/render/BoxBlur.h"
#include "platform/render/DrawColour.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/_UIBackdropView.h"

namespace platform::render {

using foundation::CGRect;
using uikit::CALayer;
using uikit::UIView;

namespace {

// A larger radius only costs time: the picture is a wash of colour well before it.
constexpr double kLargestBlurPixels = 200.0;

// Vibrant content lightens what lies behind it rather than covering it: "plusL" adds to it, as
// its name says, and any other filter screens over it.
cairo_operator_t blend_of(const CALayer& layer) {
    const auto* filter = layer.compositingFilter();
    if (!filter)
        return CAIRO_OPERATOR_OVER;
    const std::string* name = foundation::string_of(filter);
    return name && *name == "plusL" ? CAIRO_OPERATOR_ADD : CAIRO_OPERATOR_SCREEN;
}

bool is_empty(const CGRect& r) {
    return !(r.size.width > 0 && r.size.height > 0);
}

CGRect united(const CGRect& a, const CGRect& b) {
    if (is_empty(a))
        return b;
    if (is_empty(b))
        return a;
    const double x0 = std::min(a.minX(), b.minX()), y0 = std::min(a.minY(), b.minY());
    const double x1 = std::max(a.maxX(), b.maxX()), y1 = std::max(a.maxY(), b.maxY());
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}

CGRect offset(const CGRect& r, foundation::CGPoint by) {
    return {{r.origin.x + by.x, r.origin.y + by.y}, r.size};
}

// A backdrop made without a frame covers its superview.
CGRect frame_of(const UIView& view) {
    if (auto* backdrop = dynamic_cast<const uikit::UIBackdropView*>(&view);
        backdrop && !backdrop->has_own_frame())
        return view.superview() ? view.superview()->bounds() : view.frame();
    return view.frame();
}

bool is_visible(const UIView& view) {
    return !view.isHidden() && view.alpha() > 0 && is_drawable(frame_of(view));
}

CGRect layer_extent(const CALayer& layer) {
    CGRect extent = layer.bounds();
    if (layer.masksToBounds())
        return extent;
    for (const auto& sublayer : layer.sublayer_list())
        if (is_drawable(sublayer->frame()))
            extent = united(extent, offset(layer_extent(*sublayer), sublayer->frame().origin));
    return extent;
}

// What a view and its subtree may cover, in the view's own coordinates.
CGRect view_extent(const UIView& view, CGRect bounds) {
    if (view.clipsToBounds())
        return bounds;
    CGRect extent = layer_extent(*view.layer());
    extent = united(extent, bounds);
    for (const auto& subview : view.subview_list()) {
        if (!is_visible(*subview))
            continue;
        const CGRect frame = frame_of(*subview);
        extent = united(extent, offset(view_extent(*subview, {{}, frame.size}), frame.origin));
    }
    return extent;
}

void rounded_rect(cairo_t* cr, const CGRect& r, double radius) {
    radius = std::isfinite(radius) ? std::clamp(radius, 0.0, std::min(r.size.width, r.size.height) / 2) : 0.0;
    if (radius <= 0) {
        cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
        return;
    }
    const double x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - radius, y0 + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x1 - radius, y1 - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x0 + radius, y1 - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + radius, y0 + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void set_source(cairo_t* cr, const DrawColour& c) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

// The gradient's locations when there is one number per colour, else even spacing.
std::vector<double> stop_offsets(const uikit::CAGradientLayer& gradient, size_t count) {
    std::vector<double> offsets;
    if (auto* locations = gradient.locations(); locations && locations->count() == count) {
        for (const auto& item : locations->items()) {
            auto* number = dynamic_cast<const foundation::NSNumber*>(item.get());
            if (!number)
                break;
            offsets.push_back(unit(number->doubleValue()));
        }
        if (offsets.size() == count)
            return offsets;
        offsets.clear();
    }
    for (size_t i = 0; i < count; ++i)
        offsets.push_back(count == 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(count - 1));
    return offsets;
}

// A linear pattern over the bounds; nullptr when the gradient has no colours. Entries that are
// not colours are left out.
cairo_pattern_t* gradient_pattern(const uikit::CAGradientLayer& gradient, const CGRect& bounds) {
    const auto colours = gradient.colour_list();
    if (colours.empty())
        return nullptr;
    const auto offsets = stop_offsets(gradient, colours.size());
    auto point = [&](foundation::CGPoint unit_point, double* x, double* y) {
        *x = bounds.size.width * (std::isfinite(unit_point.x) ? unit_point.x : 0.0);
        *y = bounds.size.height * (std::isfinite(unit_point.y) ? unit_point.y : 0.0);
    };
    double x0, y0, x1, y1;
    point(gradient.startPoint(), &x0, &y0);
    point(gradient.endPoint(), &x1, &y1);
    cairo_pattern_t* pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    int stops = 0;
    for (size_t i = 0; i < colours.size(); ++i) {
        if (!colours[i])
            continue;
        const auto c = DrawColour::of(colours[i]->colour());
        cairo_pattern_add_color_stop_rgba(pattern, offsets[i], c.red, c.green, c.blue, c.alpha);
        ++stops;
    }
    if (stops == 0) {
        cairo_pattern_destroy(pattern);
        return nullptr;
    }
    return pattern;
}

// A rectangle of device pixels, clamped to the picture.
struct PixelRect {
    int left{0}, top{0}, right{0}, bottom{0};
    bool empty() const { return right <= left || bottom <= top; }
};

// The device pixels of the bounds that the clip lets through.
PixelRect visible_device_rect(cairo_t* cr, CGRect bounds, int width, int height) {
    double x0, y0, x1, y1;
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, bounds.size.width, bounds.size.height);
    cairo_clip(cr);
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    cairo_restore(cr);
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    return {std::clamp(static_cast<int>(std::floor(std::min(x0, x1))), 0, width),
            std::clamp(static_cast<int>(std::floor(std::min(y0, y1))), 0, height),
            std::clamp(static_cast<int>(std::ceil(std::max(x0, x1))), 0, width),
            std::clamp(static_cast<int>(std::ceil(std::max(y0, y1))), 0, height)};
}

// The backdrop's own radius, else its style's, in device pixels.
int blur_pixels(cairo_t* cr, const uikit::UIBackdropView& backdrop) {
    double pixels_per_point = 1.0, ignored = 0.0;
    cairo_user_to_device_distance(cr, &pixels_per_point, &ignored);
    const double radius_points = backdrop.blurRadius() > 0
                                     ? backdrop.blurRadius()
                                     : uikit::UIBackdropViewSettings::blur_radius_for_style(backdrop.style());
    return static_cast<int>(
        std::lround(std::min(radius_points * std::fabs(pixels_per_point), kLargestBlurPixels)));
}

// What every target holds under the sample rectangle, composited and reduced by the factor.
cairo_surface_t* gather_behind(const std::vector<cairo_surface_t*>& targets, PixelRect sample, int factor) {
    const int small_width = (sample.right - sample.left + factor - 1) / factor;
    const int small_height = (sample.bottom - sample.top + factor - 1) / factor;
    cairo_surface_t* behind = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, small_width, small_height);
    cairo_t* gather = cairo_create(behind);
    cairo_scale(gather, 1.0 / factor, 1.0 / factor);
    for (cairo_surface_t* target : targets) {
        cairo_surface_flush(target);
        cairo_set_source_surface(gather, target, -sample.left, -sample.top);
        cairo_pattern_set_filter(cairo_get_source(gather), CAIRO_FILTER_BILINEAR);
        // The last small pixel can reach past the picture's edge when the width is not a
        // multiple of the factor; it takes the edge's colour instead of turning see-through.
        if (target == targets.front())
            cairo_pattern_set_extend(cairo_get_source(gather), CAIRO_EXTEND_PAD);
        cairo_paint(gather);
    }
    cairo_destroy(gather);
    cairo_surface_flush(behind);
    return behind;
}

// Replaces the area with a blur of what lies behind it.
void paint_blurred(cairo_t* cr, const std::vector<cairo_surface_t*>& targets, PixelRect area, int radius) {
    cairo_surface_t* root = targets.front();
    // Sample a margin around the area so its edges blur with what lies next to them.
    const PixelRect sample{std::max(0, area.left - radius), std::max(0, area.top - radius),
                           std::min(cairo_image_surface_get_width(root), area.right + radius),
                           std::min(cairo_image_surface_get_height(root), area.bottom + radius)};
    // A wide blur loses nothing at a fraction of the resolution, and costs a fraction of the
    // time; a narrow one keeps full resolution so that it stays as narrow as asked.
    const int factor = radius < 12 ? 1 : radius < 24 ? 2 : 4;
    cairo_surface_t* behind = gather_behind(targets, sample, factor);
    box_blur(reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(behind)),
             cairo_image_surface_get_width(behind), cairo_image_surface_get_height(behind),
             cairo_image_surface_get_stride(behind) / 4, radius / factor);
    cairo_surface_mark_dirty(behind);

    cairo_pattern_t* blurred = cairo_pattern_create_for_surface(behind);
    cairo_matrix_t to_small;
    cairo_matrix_init_scale(&to_small, 1.0 / factor, 1.0 / factor);
    cairo_matrix_translate(&to_small, -sample.left, -sample.top);
    cairo_pattern_set_matrix(blurred, &to_small);
    cairo_pattern_set_filter(blurred, CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(blurred, CAIRO_EXTEND_PAD);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source(cr, blurred);
    cairo_rectangle(cr, area.left, area.top, area.right - area.left, area.bottom - area.top);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(blurred);
    cairo_surface_destroy(behind);
}

} // namespace

void TreePainter::paint_root(const UIView& view) {
    if (is_visible(view))
        paint_view(view, {{}, frame_of(view).size});
}

void TreePainter::paint_view(const UIView& view, CGRect frame) {
    const CGRect bounds{{}, frame.size};
    cairo_save(cr_);
    cairo_translate(cr_, frame.origin.x, frame.origin.y);
    with_effects(
        *view.layer(), bounds, unit(view.alpha()), [&] { return view_extent(view, bounds); },
        [&] {
            if (auto* backdrop = dynamic_cast<const uikit::UIBackdropView*>(&view))
                paint_backdrop(*backdrop, bounds);
            paint_layer_content(*view.layer(), bounds);
            cairo_save(cr_);
            cairo_rectangle(cr_, 0, 0, bounds.size.width, bounds.size.height);
            cairo_clip(cr_);
            view.draw(canvas_);
            cairo_restore(cr_);
            for (const auto& subview : view.subview_list())
                if (is_visible(*subview))
                    paint_view(*subview, frame_of(*subview));
        });
    cairo_restore(cr_);
}

void TreePainter::paint_sublayer(const CALayer& layer) {
    const CGRect frame = layer.frame();
    if (!is_drawable(frame))
        return;
    const CGRect bounds{{}, frame.size};
    cairo_save(cr_);
    cairo_translate(cr_, frame.origin.x, frame.origin.y);
    with_effects(
        layer, bounds, 1.0, [&] { return layer_extent(layer); }, [&] { paint_layer_content(layer, bounds); });
    cairo_restore(cr_);
}

void TreePainter::paint_layer_content(const CALayer& layer, CGRect bounds) {
    if (auto* background = layer.backgroundColor()) {
        rounded_rect(cr_, bounds, layer.cornerRadius());
        set_source(cr_, DrawColour::of(background->colour()));
        cairo_fill(cr_);
    }
    if (auto* contents = layer.contents())
        canvas_.draw_image(bounds, contents);
    if (auto* gradient = dynamic_cast<const uikit::CAGradientLayer*>(&layer)) {
        if (cairo_pattern_t* pattern = gradient_pattern(*gradient, bounds)) {
            rounded_rect(cr_, bounds, layer.cornerRadius());
            cairo_set_source(cr_, pattern);
            cairo_fill(cr_);
            cairo_pattern_destroy(pattern);
        }
    }
    for (const auto& sublayer : layer.sublayer_list())
        paint_sublayer(*sublayer);
}

template <class Extent, class Body>
void TreePainter::with_effects(const CALayer& layer, CGRect bounds, double alpha, Extent extent_of,
                               Body body) {
    cairo_save(cr_);
    if (layer.masksToBounds()) {
        rounded_rect(cr_, bounds, layer.cornerRadius());
        cairo_clip(cr_);
    }
    const bool filtered = layer.compositingFilter() != nullptr;
    const CALayer* mask = layer.mask();
    if (alpha >= 1.0 && !filtered && !mask) {
        body();
        cairo_restore(cr_);
        return;
    }
    // A group is as large as the clip, so the clip is cut to what the subtree can cover first.
    const CGRect extent = extent_of();
    cairo_rectangle(cr_, extent.origin.x, extent.origin.y, extent.size.width, extent.size.height);
    cairo_clip(cr_);
    double x0, y0, x1, y1;
    cairo_clip_extents(cr_, &x0, &y0, &x1, &y1);
    if (x1 <= x0 || y1 <= y0) {
        cairo_restore(cr_);
        return;
    }
    cairo_push_group(cr_);
    targets_.push_back(cairo_get_group_target(cr_));
    body();
    targets_.pop_back();
    cairo_pattern_t* content = cairo_pop_group(cr_);
    cairo_set_operator(cr_, blend_of(layer));
    cairo_set_source(cr_, content);
    if (!mask) {
        cairo_paint_with_alpha(cr_, alpha);
    } else if (cairo_pattern_t* coverage = mask_pattern(*mask, alpha)) {
        cairo_mask(cr_, coverage);
        cairo_pattern_destroy(coverage);
    } else {
        cairo_paint_with_alpha(cr_, alpha);
    }
    cairo_pattern_destroy(content);
    cairo_restore(cr_);
}

cairo_pattern_t* TreePainter::mask_pattern(const CALayer& mask, double alpha) {
    if (std::find(masks_in_progress_.begin(), masks_in_progress_.end(), &mask) != masks_in_progress_.end())
        return nullptr;
    masks_in_progress_.push_back(&mask);
    cairo_push_group(cr_);
    paint_sublayer(mask);
    cairo_pattern_t* pattern = cairo_pop_group(cr_);
    masks_in_progress_.pop_back();
    if (alpha >= 1.0)
        return pattern;
    cairo_push_group(cr_);
    cairo_set_source(cr_, pattern);
    cairo_paint_with_alpha(cr_, alpha);
    cairo_pattern_destroy(pattern);
    return cairo_pop_group(cr_);
}

void TreePainter::paint_backdrop(const uikit::UIBackdropView& backdrop, CGRect bounds) {
    cairo_surface_t* root = targets_.front();
    PixelRect area = visible_device_rect(cr_, bounds, cairo_image_surface_get_width(root),
                                         cairo_image_surface_get_height(root));
    if (!area.empty())
        paint_blurred(cr_, targets_, area, blur_pixels(cr_, backdrop));

    auto* settings = backdrop.inputSettings();
    if (settings && settings->colorTint()) {
        set_source(cr_, DrawColour::of(settings->colorTint()->colour(), settings->colorTintAlpha()));
        cairo_rectangle(cr_, 0, 0, bounds.size.width, bounds.size.height);
        cairo_fill(cr_);
    }
}

} // namespace platform::render
