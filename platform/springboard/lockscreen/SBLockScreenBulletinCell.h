// One notification on the lock screen: the app's icon, title, subtitle, message, dates and the
// "slide to view" unlock text, over a content view, with a dismiss button off its right edge.
// The host paints texts white and its dates and unlock text grey through a vibrant filter, and
// draws a hairline separator along the row's bottom.
#pragma once

#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/lockscreen/SBTableViewCellDismissActionButton.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

namespace platform::springboard {

class SBLockScreenBulletinCell : public uikit::UIView {
  public:
    static Class runtime_class();
    static constexpr double kHeight = 86;

    SBLockScreenBulletinCell();
    Ref<Object> initWithFrame(foundation::CGRect frame);

    // Shows a bulletin with its app's icon.
    void configure(const BBBulletin* bulletin, uikit::UIImage* icon);

    uikit::UIView* contentView() const { return content_.get(); }
    uikit::UIColor* primaryTextColor() const { return primary_colour_.get(); }
    void setPrimaryTextColor(uikit::UIColor* colour);
    void setSubtitleTextColor(uikit::UIColor* colour);
    void setSecondaryTextColor(uikit::UIColor* colour);
    void setEventDateColor(uikit::UIColor* colour);
    void setRelevanceDateColor(uikit::UIColor* colour);
    uikit::UILabel* eventDateLabel() const { return event_date_.get(); }
    uikit::UILabel* relevanceDateLabel() const { return relevance_date_.get(); }
    uikit::UILabel* unlockTextLabel() const { return unlock_text_.get(); }
    SBTableViewCellDismissActionButton* dismissButton() const { return dismiss_.get(); }

    void layoutSubviews();
    // The hairline separator under the row.
    void draw(uikit::Canvas& canvas) const override;

  private:
    Ref<uikit::UIView> content_;
    Ref<uikit::UIImageView> icon_;
    Ref<uikit::UILabel> title_;
    Ref<uikit::UILabel> subtitle_;
    Ref<uikit::UILabel> message_;
    Ref<uikit::UILabel> event_date_;
    Ref<uikit::UILabel> relevance_date_;
    Ref<uikit::UILabel> unlock_text_;
    Ref<SBTableViewCellDismissActionButton> dismiss_;
    Ref<uikit::UIColor> primary_colour_;
};

} // namespace platform::springboard
