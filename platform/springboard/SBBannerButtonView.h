// The pull-down row of a banner: its action buttons side by side.
#pragma once

#include <string>
#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/springboard/SBNotificationVibrantButton.h"

namespace platform::springboard {

// Runtime class "SBBannerButtonView", the banner view's pullDownView when the bulletin has
// actions. The buttons share the width equally, left to right.
class SBBannerButtonView : public uikit::UIView {
  public:
    static Class runtime_class();
    // A row with one button per title, in order.
    static Ref<SBBannerButtonView> with_titles(const std::vector<std::string>& titles);

    Ref<foundation::NSArray> buttons() const;
    void layoutSubviews();

  private:
    std::vector<Ref<SBNotificationVibrantButton>> buttons_;
};

} // namespace platform::springboard
