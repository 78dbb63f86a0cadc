#include "platform/springboard/SBDefaultBannerView.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;

namespace {
// The app's small icon sits left of the title line, the text beside it.
constexpr double kIconInset = 15;
constexpr double kIconTop = 10;
constexpr double kIconSize = 20;
constexpr double kIconCornerRadius = 4.5;
constexpr double kTextLeft = kIconInset + kIconSize + 10;
constexpr double kTextTop = 10;
constexpr double kTextRightInset = 15;
} // namespace

Class SBDefaultBannerView::runtime_class() {
    static Class cls =
        ClassBuilder<SBDefaultBannerView>("SBDefaultBannerView", uikit::UIView::runtime_class())
            .method<&SBDefaultBannerView::initWithFrame>("initWithFrame:")
            .method<&SBDefaultBannerView::layoutSubviews>("layoutSubviews")
            .method<&SBDefaultBannerView::setRelevanceDateColor>("_setRelevanceDateColor:")
            .ivar("_iconImageView", &SBDefaultBannerView::icon_view_)
            .ivar("_textView", &SBDefaultBannerView::text_view_)
            .ivar("_relevanceDateColor", &SBDefaultBannerView::relevance_date_colour_)
            .get();
    return cls;
}

Ref<Object> SBDefaultBannerView::initWithFrame(uikit::CGRect frame) {
    UIView::initWithFrame(frame);
    icon_view_ = UIView::create<uikit::UIImageView>({});
    icon_view_->layer()->setCornerRadius(kIconCornerRadius);
    icon_view_->setClipsToBounds(true);
    addSubview(icon_view_.get());
    text_view_ = UIView::create<SBDefaultBannerTextView>({});
    addSubview(text_view_.get());
    relevance_date_colour_ = text_view_->relevanceDateLabel()->textColor();
    return Ref<Object>(this);
}

void SBDefaultBannerView::layoutSubviews() {
    const auto size = bounds().size;
    icon_view_->setFrame(CGRectMake(kIconInset, kIconTop, kIconSize, kIconSize));
    text_view_->setFrame(
        CGRectMake(kTextLeft, kTextTop, size.width - kTextLeft - kTextRightInset, size.height - kTextTop));
}

void SBDefaultBannerView::setRelevanceDateColor(uikit::UIColor* colour) {
    relevance_date_colour_ = colour;
    text_view_->relevanceDateLabel()->setTextColor(colour);
}

void SBDefaultBannerView::show_item(const SBUIBannerItem* item) {
    const BBBulletin* bulletin = item ? item->bulletin() : nullptr;
    icon_view_->setImage(item ? item->iconImage().get() : nullptr);
    if (!bulletin) {
        text_view_->set_texts("", "", "");
        return;
    }
    text_view_->set_texts(BBBulletin::text(bulletin->title()), BBBulletin::text(bulletin->subtitle()),
                          BBBulletin::text(bulletin->message()));
}

} // namespace platform::springboard
