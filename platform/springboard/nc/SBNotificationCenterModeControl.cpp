#include "platform/springboard/nc/SBNotificationCenterModeControl.h"

#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/Canvas.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;
using uikit::UIColor;

namespace {
// The title of the selected segment, dark on its white fill.
Ref<UIColor> selected_title_colour() {
    return UIColor::colorWithRGBA(0.1, 0.1, 0.12, 1);
}
} // namespace

Class SBNotificationCenterModeControl::runtime_class() {
    static Class cls =
        ClassBuilder<SBNotificationCenterModeControl>("SBNotificationCenterModeControl",
                                                      uikit::UIView::runtime_class())
            .method<&SBNotificationCenterModeControl::selectedSegmentIndex>("selectedSegmentIndex")
            .method<&SBNotificationCenterModeControl::setSelectedSegmentIndex>("setSelectedSegmentIndex:")
            .get();
    return cls;
}

SBNotificationCenterModeControl::SBNotificationCenterModeControl() {
    layer()->setCornerRadius(kCornerRadius);
    setClipsToBounds(true);
}

void SBNotificationCenterModeControl::setSelectedSegmentIndex(int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(titles_.size()))
        return;
    selected_ = index;
    setNeedsDisplay();
}

int64_t SBNotificationCenterModeControl::segment_at(foundation::CGPoint point) const {
    const auto size = bounds().size;
    if (point.x < 0 || point.y < 0 || point.x >= size.width || point.y >= size.height || titles_.empty())
        return -1;
    return static_cast<int64_t>(point.x / (size.width / static_cast<double>(titles_.size())));
}

void SBNotificationCenterModeControl::draw(uikit::Canvas& canvas) const {
    const auto size = bounds().size;
    const auto white = UIColor::whiteColor();
    const double segment = size.width / static_cast<double>(titles_.size());
    // The outline: four thin sides, rounded by the layer's clip, and a divider between segments.
    canvas.fill_rect(CGRectMake(0, 0, size.width, kOutline), white.get());
    canvas.fill_rect(CGRectMake(0, size.height - kOutline, size.width, kOutline), white.get());
    canvas.fill_rect(CGRectMake(0, 0, kOutline, size.height), white.get());
    canvas.fill_rect(CGRectMake(size.width - kOutline, 0, kOutline, size.height), white.get());
    for (size_t i = 1; i < titles_.size(); ++i)
        canvas.fill_rect(
            CGRectMake(segment * static_cast<double>(i) - kOutline / 2, 0, kOutline, size.height),
            white.get());
    auto font = uikit::UIFont::systemFontOfSize(kTitleSize);
    for (size_t i = 0; i < titles_.size(); ++i) {
        const auto rect = CGRectMake(segment * static_cast<double>(i), 0, segment, size.height);
        const bool selected = static_cast<int64_t>(i) == selected_;
        if (selected)
            canvas.fill_rect(rect, white.get());
        auto colour = selected ? selected_title_colour() : white;
        foundation::Attributes attributes;
        attributes[foundation::NSForegroundColorAttributeName] = Ref<Object>(colour);
        auto text = foundation::NSAttributedString::create(titles_[i], std::move(attributes));
        canvas.draw_text(rect, text.get(), font.get(), colour.get(), uikit::NSTextAlignmentCenter);
    }
}

} // namespace platform::springboard
