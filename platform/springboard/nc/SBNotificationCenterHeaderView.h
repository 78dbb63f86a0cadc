// A Notification Center section header: the app's small icon, a title, and a circled clear
// button for sections that can be cleared.
#pragma once

#include "platform/springboard/nc/SBFVibrantTableViewHeaderFooterView.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

namespace platform::springboard {

// The clear button's glyph: a thin ring with an x inside, in the host's vibrant grey.
class SBNotificationCenterClearGlyph : public uikit::UIView {
  public:
    static Class runtime_class();
    static constexpr double kSize = 20;
    static constexpr double kStroke = 1.5;
    void draw(uikit::Canvas& canvas) const override;
};

class SBNotificationCenterHeaderView : public SBFVibrantTableViewHeaderFooterView {
  public:
    static Class runtime_class();
    static constexpr const char* kReuseIdentifier = "SBNotificationCenterHeaderView";

    SBNotificationCenterHeaderView();

    uikit::UILabel* titleLabel() const { return title_label_.get(); }
    bool hasClearButton() const { return has_clear_button_; }
    void setHasClearButton(bool has);
    // The clear button's glyph, shown only while the section has one.
    uikit::UIView* clear_button() const { return clear_glyph_.get(); }
    // The app's icon left of the title; nil draws none.
    void set_icon(uikit::UIImage* icon);
    uikit::UIImageView* icon_view() const { return icon_view_.get(); }

    void layoutSubviews();

  private:
    Ref<uikit::UILabel> title_label_;
    Ref<uikit::UIImageView> icon_view_;
    Ref<SBNotificationCenterClearGlyph> clear_glyph_;
    bool has_clear_button_{false};
};

} // namespace platform::springboard
