// A drop-down banner on the home screen: a frosted background, the content (icon and text),
// an optional row of action buttons, shown once the banner is pulled down, and a grabber at the
// bottom edge.
#pragma once

#include "platform/springboard/SBBannerButtonView.h"
#include "platform/springboard/SBDefaultBannerView.h"
#include "platform/springboard/SBUIBannerContext.h"
#include "platform/uikit/_UIBackdropView.h"

namespace platform::springboard {

// Runtime class "SBBannerContextView". Setting a context shows its item and builds the
// pull-down row when the sending app offers actions. The frosted background belongs to the
// banner's layout: each layout pass puts it back behind everything if it was taken away.
class SBBannerContextView : public uikit::UIView {
  public:
    static Class runtime_class();

    // The height a banner needs with and without a pull-down row.
    static double height_for(bool has_actions);

    Ref<runtime::Object> initWithFrame(uikit::CGRect frame);
    void setBannerContextWithReplaceReason(SBUIBannerContext* context, int64_t reason);
    // The banner has left the screen: it presents nothing any more.
    void noteDidDismissWithReason(int64_t reason);
    void layoutSubviews();

    uikit::UIBackdropView* backdrop() const { return backdrop_.get(); }
    uikit::UIView* pullDownView() const { return pull_down_view_.get(); }
    void setGrabberColor(uikit::UIColor* colour);

    // The action row is built with the context but stays hidden until the banner is pulled down.
    bool isPulledDown() const { return pulled_down_; }
    void setPulledDown(bool pulled_down);

    SBUIBannerContext* context() const { return context_.get(); }

  private:
    Ref<SBUIBannerContext> context_;
    Ref<uikit::UIBackdropView> backdrop_;
    Ref<SBDefaultBannerView> content_view_;
    Ref<uikit::UIView> grabber_view_;
    Ref<SBBannerButtonView> pull_down_view_;
    bool pulled_down_{false};
};

} // namespace platform::springboard
