#include "platform/springboard/lockscreen/SBTableViewCellDismissActionButton.h"

#include "platform/uikit/Canvas.h"

namespace platform::springboard {

using namespace platform::runtime;
using platform::foundation::CGRectMake;
using platform::uikit::UIColor;

namespace {
constexpr double kSeparatorThickness = 0.5;
} // namespace

Class SBTableViewCellDismissActionButton::runtime_class() {
    static Class cls =
        ClassBuilder<SBTableViewCellDismissActionButton>("SBTableViewCellDismissActionButton",
                                                         uikit::UIView::runtime_class())
            .method<&SBTableViewCellDismissActionButton::drawsTopSeparator>("drawsTopSeparator")
            .method<&SBTableViewCellDismissActionButton::setDrawsTopSeparator>("setDrawsTopSeparator:")
            .method<&SBTableViewCellDismissActionButton::drawsBottomSeparator>("drawsBottomSeparator")
            .method<&SBTableViewCellDismissActionButton::setDrawsBottomSeparator>("setDrawsBottomSeparator:")
            .get();
    return cls;
}

void SBTableViewCellDismissActionButton::setDrawsTopSeparator(bool draws) {
    top_ = draws;
    setNeedsDisplay();
}

void SBTableViewCellDismissActionButton::setDrawsBottomSeparator(bool draws) {
    bottom_ = draws;
    setNeedsDisplay();
}

void SBTableViewCellDismissActionButton::draw(uikit::Canvas& canvas) const {
    auto line = UIColor::colorWithRGBA(1, 1, 1, 0.3);
    double width = bounds().size.width;
    if (top_)
        canvas.fill_rect(CGRectMake(0, 0, width, kSeparatorThickness), line);
    if (bottom_)
        canvas.fill_rect(
            CGRectMake(0, bounds().size.height - kSeparatorThickness, width, kSeparatorThickness), line);
}

} // namespace platform::springboard
