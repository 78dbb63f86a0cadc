// A Notification Center section header: a title, and a clear button for sections that can be
// cleared.
#pragma once

#include "platform/springboard/nc/SBFVibrantTableViewHeaderFooterView.h"
#include "platform/uikit/UILabel.h"

namespace platform::springboard {

class SBNotificationCenterHeaderView : public SBFVibrantTableViewHeaderFooterView {
  public:
    static Class runtime_class();
    static constexpr const char* kReuseIdentifier = "SBNotificationCenterHeaderView";

    SBNotificationCenterHeaderView();

    uikit::UILabel* titleLabel() const { return title_label_.get(); }
    bool hasClearButton() const { return has_clear_button_; }
    void setHasClearButton(bool has);
    // The clear button's glyph, shown only while the section has one.
    uikit::UILabel* clear_button() const { return clear_label_.get(); }

    void layoutSubviews();

  private:
    Ref<uikit::UILabel> title_label_;
    Ref<uikit::UILabel> clear_label_;
    bool has_clear_button_{false};
};

} // namespace platform::springboard
