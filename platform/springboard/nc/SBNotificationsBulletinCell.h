// A Notification Center cell showing one bulletin: title, subtitle, message and two date
// labels, each text colour settable on its own.
#pragma once

#include "platform/springboard/BBBulletin.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/table/UITableViewCell.h"

namespace platform::springboard {

class SBNotificationsBulletinCell : public uikit::UITableViewCell {
  public:
    static Class runtime_class();
    static constexpr const char* kReuseIdentifier = "SBNotificationsBulletinCell";

    SBNotificationsBulletinCell();

    // Shows the bulletin's texts; the dates are the time of delivery as the clock shows it.
    void show(const BBBulletin& bulletin, const std::string& time_text);

    void setPrimaryTextColor(uikit::UIColor* colour) { primary_->setTextColor(colour); }
    void setSubtitleTextColor(uikit::UIColor* colour) { subtitle_->setTextColor(colour); }
    void setSecondaryTextColor(uikit::UIColor* colour) { secondary_->setTextColor(colour); }
    void setEventDateColor(uikit::UIColor* colour) { event_date_->setTextColor(colour); }
    void setRelevanceDateColor(uikit::UIColor* colour) { relevance_date_->setTextColor(colour); }
    uikit::UILabel* primaryLabel() const { return primary_.get(); }
    uikit::UILabel* subtitleLabel() const { return subtitle_.get(); }
    uikit::UILabel* secondaryLabel() const { return secondary_.get(); }
    uikit::UILabel* eventDateLabel() const { return event_date_.get(); }
    uikit::UILabel* relevanceDateLabel() const { return relevance_date_.get(); }

    void layoutSubviews();

  private:
    Ref<uikit::UILabel> primary_, subtitle_, secondary_, event_date_, relevance_date_;
};

} // namespace platform::springboard
