// The lock screen: clock and date at the top, the notification list over it, and behind
// everything the blurred, darkened underlays its content asks for, one per requester. Its chrome view
// draws the chevron of "slide to unlock" and the camera grabber itself.
#pragma once

#include <string>
#include <vector>

#include "platform/springboard/lockscreen/SBLockScreenNotificationListView.h"
#include "platform/uikit/UILabel.h"

namespace platform::springboard {

// Draws the lock screen's chevron and camera grabber where its lock screen says, over the
// underlays and under the list.
class SBLockScreenChromeView : public uikit::UIView {
  public:
    static Class runtime_class();
    void draw(uikit::Canvas& canvas) const override;
};

class SBLockScreenView : public uikit::UIView {
  public:
    static Class runtime_class();
    // The requester under which the notification list asks for its underlay.
    static constexpr const char* kListRequester = "SBLockScreenNotificationListView";

    SBLockScreenView();

    // Adds a blurred, darkened underlay at the back for a requester that has none yet.
    void addLockContentUnderlayWithRequester(const Object* requester);
    void removeLockContentUnderlayWithRequester(const std::string& requester);
    size_t underlay_count() const { return underlays_.size(); }

    // Shows a list over the clock, asking through the runtime for its underlay; nil takes the
    // list down again with its underlay.
    void setNotificationListView(SBLockScreenNotificationListView* list);
    SBLockScreenNotificationListView* notificationListView() const { return list_.get(); }

    void layoutSubviews();

    // Where the lock screen draws its chevron and camera grabber, in its own coordinates.
    struct Chrome {
        foundation::CGRect chevron;
        foundation::CGRect camera;
    };
    Chrome chrome() const;

  private:
    struct Underlay {
        std::string requester;
        Ref<uikit::UIView> view;
    };
    std::vector<Underlay> underlays_;
    Ref<uikit::UILabel> clock_;
    Ref<uikit::UILabel> date_;
    Ref<uikit::UILabel> slide_;
    Ref<SBLockScreenChromeView> chrome_view_;
    Ref<SBLockScreenNotificationListView> list_;
};

} // namespace platform::springboard
