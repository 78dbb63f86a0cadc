// The content of a banner: the app's icon at the left and the banner text beside it.
#pragma once

#include "platform/springboard/SBDefaultBannerTextView.h"
#include "platform/springboard/SBUIBannerItem.h"
#include "platform/uikit/UIImageView.h"

namespace platform::springboard {

// Runtime class "SBDefaultBannerView", the banner view's _contentView.
class SBDefaultBannerView : public uikit::UIView {
  public:
    static Class runtime_class();

    Ref<runtime::Object> initWithFrame(uikit::CGRect frame);
    void layoutSubviews();

    // Keeps the colour and gives it to the text view's date label.
    void setRelevanceDateColor(uikit::UIColor* colour);

    // Shows the item: its icon, the bulletin's title with its subtitle beside it, and its message.
    void show_item(const SBUIBannerItem* item);

  private:
    Ref<uikit::UIImageView> icon_view_;
    Ref<SBDefaultBannerTextView> text_view_;
    Ref<uikit::UIColor> relevance_date_colour_;
};

} // namespace platform::springboard
