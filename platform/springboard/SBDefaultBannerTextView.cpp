#include "platform/springboard/SBDefaultBannerTextView.h"

#include "platform/foundation/NSString.h"
#include "platform/uikit/Canvas.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::Attributes;
using foundation::CGRectMake;
using uikit::UIColor;
using uikit::UIFont;

namespace {

constexpr double kLineHeight = 20;
constexpr double kDateWidth = 44;
constexpr double kDateGap = 4;
constexpr double kMessageTop = 21;
constexpr double kComponentGap = 6;
constexpr double kTextSize = 15;
constexpr double kDateSize = 13;

// The host's own banner colours: white text on the dark blurred background, the date a dim
// grey that its vibrant filter lifts out of the glass. The texts stay a hair below pure white so
// that a dump tells the host's own colours from a white the tweak chose.
Ref<UIColor> title_colour() {
    return UIColor::colorWithRGBA(0.97, 0.97, 0.97, 1);
}
Ref<UIColor> message_colour() {
    return UIColor::colorWithRGBA(0.97, 0.97, 0.97, 1);
}
Ref<UIColor> date_colour() {
    return UIColor::colorWithRGBA(0.45, 0.45, 0.45, 1);
}

Ref<UIFont> title_font() {
    return UIFont::fontWithName(".SFUIText-Semibold", kTextSize);
}
Ref<UIFont> text_font() {
    return UIFont::systemFontOfSize(kTextSize);
}

Ref<NSAttributedString> styled(const std::string& text, Ref<UIFont> font, Ref<UIColor> colour) {
    Attributes attributes;
    attributes[foundation::NSFontAttributeName] = Ref<Object>(font);
    attributes[foundation::NSForegroundColorAttributeName] = Ref<Object>(colour);
    return NSAttributedString::create(text, std::move(attributes));
}

// A string's own font, else the fallback.
const UIFont* font_of(const NSAttributedString* text, const UIFont* fallback) {
    auto* font = text && text->length()
                     ? dynamic_cast<UIFont*>(text->attribute_at(foundation::NSFontAttributeName, 0))
                     : nullptr;
    return font ? font : fallback;
}

} // namespace

Class SBDefaultBannerTextView::runtime_class() {
    static Class cls =
        ClassBuilder<SBDefaultBannerTextView>("SBDefaultBannerTextView", uikit::UIView::runtime_class())
            .method<&SBDefaultBannerTextView::initWithFrame>("initWithFrame:")
            .method<&SBDefaultBannerTextView::relevanceDateLabel>("relevanceDateLabel")
            .method<&SBDefaultBannerTextView::layoutSubviews>("layoutSubviews")
            .ivar("_primaryTextAttributedString", &SBDefaultBannerTextView::primary_)
            .ivar("_primaryTextAttributedStringComponent", &SBDefaultBannerTextView::primary_component_)
            .ivar("_secondaryTextAttributedString", &SBDefaultBannerTextView::secondary_)
            .ivar("_alternateSecondaryTextAttributedString", &SBDefaultBannerTextView::alternate_secondary_)
            .ivar("_relevanceDateLabel", &SBDefaultBannerTextView::relevance_date_label_)
            .get();
    return cls;
}

Ref<Object> SBDefaultBannerTextView::initWithFrame(uikit::CGRect frame) {
    UIView::initWithFrame(frame);
    relevance_date_label_ = UIView::create<UILabel>({});
    relevance_date_label_->setTextAlignment(uikit::NSTextAlignmentRight);
    relevance_date_label_->setAttributedText(
        styled("now", UIFont::systemFontOfSize(kDateSize), date_colour()));
    // The date is drawn vibrant on the blurred background.
    relevance_date_label_->layer()->setCompositingFilter(foundation::ns("plusL"));
    addSubview(relevance_date_label_.get());
    return Ref<Object>(this);
}

void SBDefaultBannerTextView::set_texts(const std::string& title, const std::string& component,
                                        const std::string& message) {
    title_ = title;
    component_ = component;
    message_ = message;
    texts_changed_ = true;
    setNeedsLayout();
}

void SBDefaultBannerTextView::layoutSubviews() {
    const double width = bounds().size.width;
    relevance_date_label_->setFrame(CGRectMake(width - kDateWidth, 0, kDateWidth, kLineHeight));
    if (!texts_changed_)
        return;
    texts_changed_ = false;
    primary_ = styled(title_, title_font(), title_colour());
    primary_component_ = component_.empty() ? nullptr : styled(component_, text_font(), message_colour());
    secondary_ = styled(message_, text_font(), message_colour());
    alternate_secondary_ = nullptr;
    setNeedsDisplay();
}

void SBDefaultBannerTextView::draw(uikit::Canvas& canvas) const {
    const double width = bounds().size.width;
    const double title_width = width - kDateWidth - kDateGap;
    auto fallback = UIColor::blackColor();
    auto plain = text_font();
    // The title takes the left part of the first line; a component shares it, half and half.
    double primary_width = primary_component_ ? (title_width - kComponentGap) / 2 : title_width;
    if (primary_)
        canvas.draw_text(CGRectMake(0, 0, primary_width, kLineHeight), primary_.get(),
                         font_of(primary_.get(), plain.get()), fallback.get(), uikit::NSTextAlignmentLeft);
    if (primary_component_)
        canvas.draw_text(CGRectMake(primary_width + kComponentGap, 0, primary_width, kLineHeight),
                         primary_component_.get(), font_of(primary_component_.get(), plain.get()),
                         fallback.get(), uikit::NSTextAlignmentLeft);
    const NSAttributedString* message = alternate_secondary_ ? alternate_secondary_.get() : secondary_.get();
    if (message)
        canvas.draw_text(CGRectMake(0, kMessageTop, width, kLineHeight), message,
                         font_of(message, plain.get()), fallback.get(), uikit::NSTextAlignmentLeft);
}

} // namespace platform::springboard
