#include "platform/springboard/nc/SBNotificationsBulletinCell.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;

namespace {
constexpr double kInset = 15;
constexpr double kDateWidth = 70;
constexpr double kLineHeight = 18;
// The host's vibrancy blend of the date labels, which shifts whatever colour they are given.
constexpr const char* kVibrantFilter = "plusL";

Ref<uikit::UILabel> label(double size, bool white, const char* font_name = nullptr) {
    auto l = make_object<uikit::UILabel>();
    l->setFont(font_name ? uikit::UIFont::fontWithName(font_name, size).get()
                         : uikit::UIFont::systemFontOfSize(size).get());
    l->setTextColor(white ? uikit::UIColor::whiteColor().get()
                          : uikit::UIColor::colorWithRGBA(0.75, 0.75, 0.75, 1.0).get());
    return l;
}
} // namespace

Class SBNotificationsBulletinCell::runtime_class() {
    static Class cls =
        ClassBuilder<SBNotificationsBulletinCell>("SBNotificationsBulletinCell",
                                                  uikit::UITableViewCell::runtime_class())
            .method<&SBNotificationsBulletinCell::setPrimaryTextColor>("setPrimaryTextColor:")
            .method<&SBNotificationsBulletinCell::setSubtitleTextColor>("setSubtitleTextColor:")
            .method<&SBNotificationsBulletinCell::setSecondaryTextColor>("setSecondaryTextColor:")
            .method<&SBNotificationsBulletinCell::setEventDateColor>("setEventDateColor:")
            .method<&SBNotificationsBulletinCell::setRelevanceDateColor>("setRelevanceDateColor:")
            .method<&SBNotificationsBulletinCell::eventDateLabel>("eventDateLabel")
            .method<&SBNotificationsBulletinCell::relevanceDateLabel>("relevanceDateLabel")
            .method<&SBNotificationsBulletinCell::layoutSubviews>("layoutSubviews")
            .get();
    return cls;
}

SBNotificationsBulletinCell::SBNotificationsBulletinCell()
    : primary_(label(15, true, ".SFUIText-Semibold")), subtitle_(label(13, true)),
      secondary_(label(13, true)), event_date_(label(12, false)), relevance_date_(label(12, false)) {
    set_reuse_identifier(kReuseIdentifier);
    event_date_->setTextAlignment(uikit::NSTextAlignmentRight);
    for (auto* l : {event_date_.get(), relevance_date_.get()})
        l->layer()->setCompositingFilter(foundation::ns(kVibrantFilter).get());
    for (auto* l :
         {primary_.get(), subtitle_.get(), secondary_.get(), event_date_.get(), relevance_date_.get()})
        contentView()->addSubview(l);
}

void SBNotificationsBulletinCell::show(const BBBulletin& bulletin, const std::string& time_text) {
    primary_->setText(foundation::ns(BBBulletin::text(bulletin.title())).get());
    subtitle_->setText(foundation::ns(BBBulletin::text(bulletin.subtitle())).get());
    secondary_->setText(foundation::ns(BBBulletin::text(bulletin.message())).get());
    event_date_->setText(foundation::ns(time_text).get());
    relevance_date_->setText(nullptr);
}

void SBNotificationsBulletinCell::layoutSubviews() {
    UITableViewCell::layoutSubviews();
    double width = bounds().size.width;
    double text_width = std::max(0.0, width - 2 * kInset - kDateWidth);
    bool has_subtitle = subtitle_->text() && subtitle_->text()->length() > 0;
    // The lines sit in the middle of the cell, however many there are.
    double lines = has_subtitle ? 3 : 2;
    double y = std::max(0.0, (bounds().size.height - lines * kLineHeight) / 2);
    primary_->setFrame(CGRectMake(kInset, y, text_width, kLineHeight));
    event_date_->setFrame(CGRectMake(width - kInset - kDateWidth, y, kDateWidth, kLineHeight));
    y += kLineHeight;
    subtitle_->setFrame(CGRectMake(kInset, y, text_width, has_subtitle ? kLineHeight : 0));
    if (has_subtitle)
        y += kLineHeight;
    secondary_->setFrame(CGRectMake(kInset, y, width - 2 * kInset, kLineHeight));
    relevance_date_->setFrame(CGRectMake(width - kInset - kDateWidth, y + kLineHeight, kDateWidth, 0));
}

} // namespace platform::springboard
