#include "platform/uikit/UILabel.h"

#include "platform/uikit/Canvas.h"
#include "platform/uikit/TextColour.h"

namespace platform::uikit {

using namespace platform::runtime;
using foundation::NSAttributedString;
using foundation::NSString;

Class UILabel::runtime_class() {
    static Class cls = ClassBuilder<UILabel>("UILabel", UIView::runtime_class())
                           .method<&UILabel::text>("text")
                           .method<&UILabel::setText>("setText:")
                           .method<&UILabel::attributedText>("attributedText")
                           .method<&UILabel::setAttributedText>("setAttributedText:")
                           .method<&UILabel::textColor>("textColor")
                           .method<&UILabel::setTextColor>("setTextColor:")
                           .method<&UILabel::font>("font")
                           .method<&UILabel::setFont>("setFont:")
                           .method<&UILabel::textAlignment>("textAlignment")
                           .method<&UILabel::setTextAlignment>("setTextAlignment:")
                           .get();
    return cls;
}

UILabel::UILabel() : text_colour_(UIColor::blackColor()), font_(UIFont::systemFontOfSize(17)) {
    setUserInteractionEnabled(false);
}

void UILabel::setText(NSString* text) {
    text_ = text;
    attributed_ = text ? NSAttributedString::create(text->str()) : nullptr;
}

void UILabel::setAttributedText(const NSAttributedString* text) {
    attributed_ = text ? text->copy() : nullptr;
    text_ = text ? foundation::ns(text->str()) : nullptr;
    if (!text || text->length() == 0)
        return;
    if (auto* colour = foreground_colour_at(*text, 0))
        text_colour_ = colour;
    if (auto* font = dynamic_cast<UIFont*>(text->attribute_at(foundation::NSFontAttributeName, 0)))
        font_ = font;
}

void UILabel::setTextColor(UIColor* colour) {
    text_colour_ = colour ? Ref<UIColor>(colour) : UIColor::blackColor();
    apply_to_whole_text(foundation::NSForegroundColorAttributeName, text_colour_.get());
}

void UILabel::setFont(UIFont* font) {
    font_ = font ? Ref<UIFont>(font) : UIFont::systemFontOfSize(17);
    apply_to_whole_text(foundation::NSFontAttributeName, font_.get());
}

void UILabel::draw(Canvas& canvas) const {
    canvas.draw_text(bounds(), attributed_.get(), font_.get(), text_colour_.get(), alignment_);
}

void UILabel::apply_to_whole_text(const char* name, Object* value) {
    if (!attributed_ || attributed_->length() == 0)
        return;
    auto recoloured = attributed_->mutableCopy();
    recoloured->add_attribute(name, Ref<Object>(value), {0, recoloured->length()});
    attributed_ = recoloured->copy();
}

} // namespace platform::uikit
