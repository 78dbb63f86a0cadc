#include "platform/springboard/SBBannerContextView.h"

#include "platform/foundation/NSString.h"
#include "platform/springboard/BannerActions.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;
using uikit::UIColor;

namespace {
constexpr double kContentHeight = 64;
constexpr double kPullDownInset = 8;
constexpr double kPullDownHeight = 36;
constexpr double kGrabberArea = 12;
constexpr double kGrabberWidth = 36;
constexpr double kGrabberHeight = 5;
// The dark blurred glass of the phone's banners, over whatever the screen shows.
constexpr int64_t kHostBackdropStyle = 2030;
constexpr double kHostTintAlpha = 0.55;

Ref<uikit::UIBackdropView> make_host_backdrop() {
    Ref<Object> instance = class_createInstance(uikit::UIBackdropView::runtime_class());
    auto backdrop = msg<Ref<uikit::UIBackdropView>>(instance, "initWithStyle:"_sel, kHostBackdropStyle);
    backdrop->inputSettings()->setColorTint(UIColor::blackColor().get());
    backdrop->inputSettings()->setColorTintAlpha(kHostTintAlpha);
    return backdrop;
}
} // namespace

Class SBBannerContextView::runtime_class() {
    static Class cls =
        ClassBuilder<SBBannerContextView>("SBBannerContextView", uikit::UIView::runtime_class())
            .method<&SBBannerContextView::initWithFrame>("initWithFrame:")
            .method<&SBBannerContextView::setBannerContextWithReplaceReason>(
                "setBannerContext:withReplaceReason:")
            .method<&SBBannerContextView::noteDidDismissWithReason>("noteDidDismissWithReason:")
            .method<&SBBannerContextView::layoutSubviews>("layoutSubviews")
            .method<&SBBannerContextView::backdrop>("backdrop")
            .method<&SBBannerContextView::pullDownView>("pullDownView")
            .method<&SBBannerContextView::setGrabberColor>("_setGrabberColor:")
            .ivar("_bannerContext", &SBBannerContextView::context_)
            .ivar("_backdropView", &SBBannerContextView::backdrop_)
            .ivar("_contentView", &SBBannerContextView::content_view_)
            .ivar("_grabberView", &SBBannerContextView::grabber_view_)
            .ivar("_pullDownView", &SBBannerContextView::pull_down_view_)
            .get();
    return cls;
}

double SBBannerContextView::height_for(bool has_actions) {
    return kContentHeight + (has_actions ? kPullDownHeight + kPullDownInset : 0) + kGrabberArea;
}

Ref<Object> SBBannerContextView::initWithFrame(uikit::CGRect frame) {
    UIView::initWithFrame(frame);
    // Square: the banner spans the screen's width and covers the status bar.
    setClipsToBounds(true);
    backdrop_ = make_host_backdrop();
    addSubview(backdrop_.get());
    content_view_ = UIView::create<SBDefaultBannerView>({});
    addSubview(content_view_.get());
    grabber_view_ = UIView::create<uikit::UIView>({});
    grabber_view_->setBackgroundColor(UIColor::colorWithRGBA(0.55, 0.55, 0.55, 0.8).get());
    grabber_view_->layer()->setCornerRadius(kGrabberHeight / 2);
    // Drawn vibrant, like the date.
    grabber_view_->layer()->setCompositingFilter(foundation::ns("plusD"));
    addSubview(grabber_view_.get());
    return Ref<Object>(this);
}

void SBBannerContextView::setBannerContextWithReplaceReason(SBUIBannerContext* context, int64_t) {
    context_ = context;
    auto item = context ? context->item() : nullptr;
    content_view_->show_item(item.get());
    if (pull_down_view_)
        pull_down_view_->removeFromSuperview();
    pull_down_view_ = nullptr;
    const BBBulletin* bulletin = item ? item->bulletin() : nullptr;
    auto titles =
        bulletin ? banner_action_titles(BBBulletin::text(bulletin->sectionID())) : std::vector<std::string>{};
    if (!titles.empty()) {
        pull_down_view_ = SBBannerButtonView::with_titles(titles);
        pull_down_view_->setHidden(!pulled_down_);
        insertSubviewAtIndex(pull_down_view_.get(), static_cast<int64_t>(subview_list().size()) - 1);
    }
    setNeedsLayout();
}

void SBBannerContextView::noteDidDismissWithReason(int64_t) {
    context_ = nullptr;
}

void SBBannerContextView::layoutSubviews() {
    const auto size = bounds().size;
    if (!backdrop_->superview())
        insertSubviewAtIndex(backdrop_.get(), 0);
    backdrop_->setFrame(bounds());
    content_view_->setFrame(CGRectMake(0, 0, size.width, kContentHeight));
    if (pull_down_view_)
        pull_down_view_->setFrame(
            CGRectMake(kPullDownInset, kContentHeight, size.width - 2 * kPullDownInset, kPullDownHeight));
    grabber_view_->setFrame(CGRectMake((size.width - kGrabberWidth) / 2,
                                       size.height - kGrabberArea / 2 - kGrabberHeight / 2, kGrabberWidth,
                                       kGrabberHeight));
}

void SBBannerContextView::setPulledDown(bool pulled_down) {
    pulled_down_ = pulled_down;
    if (pull_down_view_)
        pull_down_view_->setHidden(!pulled_down);
    setNeedsLayout();
}

void SBBannerContextView::setGrabberColor(UIColor* colour) {
    grabber_view_->setBackgroundColor(colour);
}

} // namespace platform::springboard
