#include "platform/render/CairoCanvas.h"

#include <cmath>
#include <memory>

#include "platform/foundation/NSAttributedString.h"
#include "platform/render/SystemFace.h"
#include "platform/render/TextStyle.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"

namespace platform::render {

namespace {

// Text larger than this is a mistake, and pango would spend long on it.
constexpr double kLargestPointSize = 1000.0;

using FontDescription = std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)>;

// A font with no usable size shows no text.
bool has_drawable_size(const uikit::UIFont& font) {
    return std::isfinite(font.pointSize()) && font.pointSize() > 0;
}

FontDescription describe(const uikit::UIFont& font) {
    FontDescription description(pango_font_description_new(), &pango_font_description_free);
    const double size = std::min(font.pointSize(), kLargestPointSize);
    const FaceChoice face = system_face(font.name(), size, inter_installed());
    pango_font_description_set_family(description.get(), face.family.c_str());
    pango_font_description_set_weight(description.get(), static_cast<PangoWeight>(face.weight));
    pango_font_description_set_absolute_size(description.get(), size * PANGO_SCALE);
    return description;
}

guint16 channel(double unit_value) {
    return static_cast<guint16>(std::lround(unit_value * 65535.0));
}

PangoAlignment pango_alignment(int64_t alignment) {
    switch (alignment) {
    case 1: // centre
        return PANGO_ALIGN_CENTER;
    case 2: // right
        return PANGO_ALIGN_RIGHT;
    default: // left, and justified and natural, which read left to right on one line
        return PANGO_ALIGN_LEFT;
    }
}

PangoAttrList* attributes_for(const StyledText& styled) {
    PangoAttrList* list = pango_attr_list_new();
    for (const auto& run : styled.runs) {
        auto insert = [&](PangoAttribute* attribute) {
            attribute->start_index = static_cast<guint>(run.begin);
            attribute->end_index = static_cast<guint>(run.end);
            pango_attr_list_insert(list, attribute);
        };
        insert(pango_attr_foreground_new(channel(run.colour.red), channel(run.colour.green),
                                         channel(run.colour.blue)));
        // Pango reads an alpha of 0 as "not set", so the faintest it can hold stands in for it.
        insert(pango_attr_foreground_alpha_new(std::max<guint16>(1, channel(run.colour.alpha))));
        if (run.font && has_drawable_size(*run.font))
            insert(pango_attr_font_desc_new(describe(*run.font).get()));
    }
    return list;
}

} // namespace

bool is_drawable(const foundation::CGRect& rect) {
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width) &&
           std::isfinite(rect.size.height) && rect.size.width >= 0 && rect.size.height >= 0;
}

void CairoCanvas::fill_rect(foundation::CGRect rect, const uikit::UIColor* colour) {
    if (!colour || !is_drawable(rect))
        return;
    const auto c = DrawColour::of(colour->colour());
    cairo_set_source_rgba(cr_, c.red, c.green, c.blue, c.alpha);
    cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_fill(cr_);
}

void CairoCanvas::draw_text(foundation::CGRect rect, const foundation::NSAttributedString* text,
                            const uikit::UIFont* font, const uikit::UIColor* fallback_colour,
                            int64_t alignment) {
    if (!text || text->length() == 0 || !is_drawable(rect) || rect.size.width <= 0 || rect.size.height <= 0)
        return;
    const StyledText styled = styled_text(*text, fallback_colour);
    if (styled.utf8.empty())
        return;
    auto system_font = uikit::UIFont::systemFontOfSize(17);
    const uikit::UIFont& base_font = font ? *font : *system_font;
    if (!has_drawable_size(base_font))
        return;
    const FontDescription description = describe(base_font);

    pango_cairo_update_context(cr_, pango_);
    PangoLayout* layout = pango_layout_new(pango_);
    pango_layout_set_font_description(layout, description.get());
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_layout_set_width(layout, static_cast<int>(std::min(rect.size.width, 1.0e6) * PANGO_SCALE));
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_alignment(layout, pango_alignment(alignment));
    pango_layout_set_text(layout, styled.utf8.data(), static_cast<int>(styled.utf8.size()));
    PangoAttrList* attributes = attributes_for(styled);
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);

    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    const double height = static_cast<double>(logical.height) / PANGO_SCALE;

    cairo_save(cr_);
    cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr_);
    cairo_move_to(cr_, rect.origin.x, rect.origin.y + (rect.size.height - height) / 2);
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
    g_object_unref(layout);
}

void CairoCanvas::draw_image(foundation::CGRect rect, const uikit::UIImage* image) {
    if (!image || !is_drawable(rect) || rect.size.width <= 0 || rect.size.height <= 0)
        return;
    cairo_surface_t* surface = images_.surface_for(*image);
    if (!surface)
        return;
    const double scale_x = rect.size.width / cairo_image_surface_get_width(surface);
    const double scale_y = rect.size.height / cairo_image_surface_get_height(surface);
    cairo_save(cr_);
    cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr_);
    cairo_translate(cr_, rect.origin.x, rect.origin.y);
    cairo_scale(cr_, scale_x, scale_y);
    cairo_set_source_surface(cr_, surface, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

} // namespace platform::render
