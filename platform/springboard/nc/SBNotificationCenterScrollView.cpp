#include "platform/springboard/nc/SBNotificationCenterScrollView.h"

#include <algorithm>
#include <cmath>

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;

Class SBNotificationCenterScrollView::runtime_class() {
    static Class cls = ClassBuilder<SBNotificationCenterScrollView>("SBNotificationCenterScrollView",
                                                                    uikit::UIView::runtime_class())
                           .method<&SBNotificationCenterScrollView::layoutSubviews>("layoutSubviews")
                           .get();
    return cls;
}

SBNotificationCenterScrollView::SBNotificationCenterScrollView()
    : content_(uikit::UIView::create<uikit::UIView>({})) {
    setClipsToBounds(true);
    addSubview(content_.get());
}

double SBNotificationCenterScrollView::maximum_offset() const {
    return std::max(0.0, content_height_ - bounds().size.height);
}

void SBNotificationCenterScrollView::setContentHeight(double height) {
    content_height_ = std::isfinite(height) ? std::max(0.0, height) : 0.0;
    setContentOffset(offset_);
}

double SBNotificationCenterScrollView::setContentOffset(double offset) {
    offset_ = std::isfinite(offset) ? std::clamp(offset, 0.0, maximum_offset()) : 0.0;
    place_content();
    return offset_;
}

void SBNotificationCenterScrollView::layoutSubviews() {
    setContentOffset(offset_);
}

void SBNotificationCenterScrollView::frame_did_change() {
    UIView::frame_did_change();
    setContentOffset(offset_);
}

void SBNotificationCenterScrollView::place_content() {
    content_->setFrame(CGRectMake(0, -offset_, bounds().size.width, content_height_));
}

} // namespace platform::springboard
