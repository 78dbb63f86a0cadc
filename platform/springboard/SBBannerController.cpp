#include "platform/springboard/SBBannerController.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;
using foundation::RunLoop;

namespace {
Ref<Object> sharedInstance(Object*) {
    return Ref<Object>(&SBBannerController::shared());
}
// Replace reason of a banner that takes an empty place.
constexpr int64_t kReplaceReasonNone = 0;
} // namespace

Class SBBannerController::runtime_class() {
    static Class cls = ClassBuilder<SBBannerController>("SBBannerController", NSObject::runtime_class())
                           .class_method<&sharedInstance>("sharedInstance")
                           .ivar("_bannerContext", &SBBannerController::banner_context_)
                           .get();
    return cls;
}

SBBannerController& SBBannerController::shared() {
    static auto* controller = make_object<SBBannerController>().leak(); // lives as long as the process
    return *controller;
}

SBBannerController::Presentation SBBannerController::present(SBUIBannerItem* item) {
    if (!container_)
        return Presentation::NoScreen;
    if (banner_context_) {
        waiting_.emplace_back(item);
        return Presentation::Queued;
    }
    show(item);
    return Presentation::Shown;
}

void SBBannerController::show(SBUIBannerItem* item) {
    const double width = container_->bounds().size.width;
    auto view = uikit::UIView::create<SBBannerContextView>(
        CGRectMake(0, 0, width, SBBannerContextView::height_for(false)));
    banner_context_ = SBUIBannerContext::with_item(item);
    msg(view.get(), "setBannerContext:withReplaceReason:"_sel, banner_context_.get(), kReplaceReasonNone);
    view->setFrame(CGRectMake(0, 0, width, SBBannerContextView::height_for(false)));
    container_->addSubview(view.get());
    banner_view_ = view;
    expiry_ = RunLoop::main().add_timer(kOnScreenSeconds, foundation::Repeats::No,
                                        [this] {
                                            expiry_ = 0;
                                            dismiss(kBannerExpired);
                                        },
                                        {nullptr, Ref<Object>(this)});
}

bool SBBannerController::pull_down() {
    if (!banner_view_ || !banner_view_->pullDownView() || banner_view_->isPulledDown())
        return false;
    if (expiry_)
        RunLoop::main().cancel_timer(expiry_);
    expiry_ = 0;
    banner_view_->setPulledDown(true);
    auto frame = banner_view_->frame();
    frame.size.height = SBBannerContextView::height_for(true);
    banner_view_->setFrame(frame);
    return true;
}

bool SBBannerController::dismiss(BannerDismissReason reason) {
    if (!banner_view_)
        return false;
    if (expiry_)
        RunLoop::main().cancel_timer(expiry_);
    expiry_ = 0;
    Ref<SBBannerContextView> view = banner_view_;
    banner_view_ = nullptr;
    banner_context_ = nullptr;
    msg(view.get(), "noteDidDismissWithReason:"_sel, int64_t{reason});
    view->removeFromSuperview();
    if (!waiting_.empty()) {
        Ref<SBUIBannerItem> next = waiting_.front();
        waiting_.pop_front();
        show(next.get());
    }
    return true;
}

} // namespace platform::springboard
