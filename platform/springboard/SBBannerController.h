// The home screen's banners: one on screen at a time at the top of the screen, the others
// waiting in arrival order, each taken away after a few seconds.
#pragma once

#include <deque>

#include "platform/foundation/RunLoop.h"
#include "platform/springboard/SBBannerContextView.h"

namespace platform::springboard {

// Why a banner left the screen, as its view is told.
enum BannerDismissReason : int64_t {
    kBannerDismissedByUser = 1,
    kBannerExpired = 2,
    kBannerDismissedForOpening = 3, // tapped, or one of its actions taken: its app takes over
};

// Runtime class "SBBannerController", one per process ("sharedInstance"). While a banner is on
// screen, _bannerContext holds its context. Each banner gets a new SBBannerContextView, whose
// context is set through the runtime so that whatever replaced the method runs; its dismissal
// sends noteDidDismissWithReason: the same way.
class SBBannerController : public runtime::NSObject {
  public:
    static constexpr double kOnScreenSeconds = 5.0;

    static runtime::Class runtime_class();
    static SBBannerController& shared();

    // Where banners come down; nothing is shown until there is one.
    void set_container(uikit::UIView* container) { container_ = container; }

    enum class Presentation { Shown, Queued, NoScreen };
    // Shows the item's banner now, or after those before it when one is on screen.
    Presentation present(SBUIBannerItem* item);
    // Takes the banner on screen away and brings the next waiting one down; false when there
    // was none.
    bool dismiss(BannerDismissReason reason);
    // Pulls the banner on screen down to show its actions; it then stays until dealt with. False
    // when there is no banner, it has no actions or it is already pulled down.
    bool pull_down();

    SBUIBannerContext* bannerContext() const { return banner_context_.get(); }
    SBBannerContextView* banner_view() const { return banner_view_.get(); }
    size_t waiting() const { return waiting_.size(); }

  private:
    void show(SBUIBannerItem* item);

    Ref<uikit::UIView> container_;
    Ref<SBUIBannerContext> banner_context_;
    Ref<SBBannerContextView> banner_view_;
    std::deque<Ref<SBUIBannerItem>> waiting_;
    foundation::TimerId expiry_{0};
};

} // namespace platform::springboard
