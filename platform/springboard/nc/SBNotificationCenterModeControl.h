// The "Today | Notifications" segmented control at the top of Notification Center.
#pragma once

#include <string>
#include <vector>

#include "platform/uikit/UIView.h"

namespace platform::springboard {

using runtime::Class;

// Runtime class "SBNotificationCenterModeControl": two segments in a thin rounded outline, the
// selected one filled white with its title cut out in the dark of the screen behind.
class SBNotificationCenterModeControl : public uikit::UIView {
  public:
    static Class runtime_class();
    static constexpr double kWidth = 240;
    static constexpr double kHeight = 29;
    static constexpr double kTop = 27;
    static constexpr double kCornerRadius = 5;
    static constexpr double kOutline = 1;
    static constexpr double kTitleSize = 13;
    // Where the lists start under the control.
    static constexpr double kContentTop = kTop + kHeight + 10;

    SBNotificationCenterModeControl();

    const std::vector<std::string>& titles() const { return titles_; }
    int64_t selectedSegmentIndex() const { return selected_; }
    void setSelectedSegmentIndex(int64_t index);
    // The segment a point in the control's coordinates falls in, or -1 outside.
    int64_t segment_at(foundation::CGPoint point) const;

    void draw(uikit::Canvas& canvas) const override;

  private:
    std::vector<std::string> titles_{"Today", "Notifications"};
    int64_t selected_{1};
};

} // namespace platform::springboard
