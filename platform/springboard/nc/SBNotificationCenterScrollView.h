// A vertical scroll view for Notification Center's lists: content taller than the screen moves up
// and down under a clipped window, as a UIScrollView's content offset moves it.
#pragma once

#include "platform/uikit/UIView.h"

namespace platform::springboard {

using runtime::Class;
using runtime::Ref;

// Runtime class "SBNotificationCenterScrollView". Its content view holds what scrolls; the
// content offset is how far that content is moved up, kept between 0 and the content's height
// less the view's own, so content shorter than the view does not scroll at all.
class SBNotificationCenterScrollView : public uikit::UIView {
  public:
    static Class runtime_class();

    SBNotificationCenterScrollView();

    uikit::UIView* contentView() const { return content_.get(); }
    double contentHeight() const { return content_height_; }
    // Sets the height of what scrolls and keeps the offset within it.
    void setContentHeight(double height);
    double contentOffset() const { return offset_; }
    // Scrolls to the offset, clamped; returns the offset taken.
    double setContentOffset(double offset);
    // Scrolls by a distance (positive moves the content up); returns the offset taken.
    double scrollBy(double distance) { return setContentOffset(offset_ + distance); }
    double maximum_offset() const;

    void layoutSubviews();

  protected:
    void frame_did_change() override;

  private:
    void place_content();

    Ref<uikit::UIView> content_;
    double content_height_{0};
    double offset_{0};
};

} // namespace platform::springboard
