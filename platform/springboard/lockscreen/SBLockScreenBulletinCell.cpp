#include "platform/springboard/lockscreen/SBLockScreenBulletinCell.h"

#include "platform/foundation/DeviceTime.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/Canvas.h"

#include <algorithm>

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRect;
using foundation::CGRectMake;
using foundation::ns;
using uikit::UIColor;
using uikit::UIFont;
using uikit::UILabel;
using uikit::UIView;

namespace {

constexpr double kIconSize = 20;
constexpr double kMargin = 15;
constexpr double kTextLeft = kMargin + kIconSize + 10;
constexpr double kDateWidth = 64;
constexpr double kTop = 10;
constexpr double kTitleHeight = 20;
constexpr double kLineHeight = 19;
constexpr double kUnlockTextHeight = 16;
// A hairline: one device pixel at 2x.
constexpr double kSeparatorHeight = 0.5;
constexpr const char* kVibrantFilter = "plusL";

Ref<UIColor> separator_colour() {
    return UIColor::colorWithRGBA(1, 1, 1, 0.3);
}

Ref<UILabel> label(double size, UIColor* colour) {
    auto l = UIView::create<UILabel>(CGRect{});
    l->setFont(UIFont::systemFontOfSize(size));
    l->setTextColor(colour);
    return l;
}

Ref<UILabel> vibrant_label(double size) {
    auto l = label(size, UIColor::colorWithRGBA(0.75, 0.75, 0.75, 1));
    l->layer()->setCompositingFilter(ns(kVibrantFilter));
    return l;
}

} // namespace

Class SBLockScreenBulletinCell::runtime_class() {
    static Class cls =
        ClassBuilder<SBLockScreenBulletinCell>("SBLockScreenBulletinCell", UIView::runtime_class())
            .method<&SBLockScreenBulletinCell::initWithFrame>("initWithFrame:")
            .method<&SBLockScreenBulletinCell::contentView>("contentView")
            .method<&SBLockScreenBulletinCell::primaryTextColor>("primaryTextColor")
            .method<&SBLockScreenBulletinCell::setPrimaryTextColor>("setPrimaryTextColor:")
            .method<&SBLockScreenBulletinCell::setSubtitleTextColor>("setSubtitleTextColor:")
            .method<&SBLockScreenBulletinCell::setSecondaryTextColor>("setSecondaryTextColor:")
            .method<&SBLockScreenBulletinCell::setEventDateColor>("setEventDateColor:")
            .method<&SBLockScreenBulletinCell::setRelevanceDateColor>("setRelevanceDateColor:")
            .method<&SBLockScreenBulletinCell::eventDateLabel>("eventDateLabel")
            .method<&SBLockScreenBulletinCell::relevanceDateLabel>("relevanceDateLabel")
            .method<&SBLockScreenBulletinCell::layoutSubviews>("layoutSubviews")
            .ivar("_contentView", &SBLockScreenBulletinCell::content_)
            .ivar("_unlockTextLabel", &SBLockScreenBulletinCell::unlock_text_)
            .get();
    return cls;
}

SBLockScreenBulletinCell::SBLockScreenBulletinCell() = default;

Ref<Object> SBLockScreenBulletinCell::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    auto white = UIColor::whiteColor();
    primary_colour_ = white;
    content_ = UIView::create<UIView>(CGRect{});
    icon_ = UIView::create<uikit::UIImageView>(CGRect{});
    title_ = label(15, white);
    title_->setFont(UIFont::fontWithName(".SFUIText-Semibold", 15));
    subtitle_ = label(14, white);
    message_ = label(14, white);
    event_date_ = vibrant_label(13);
    event_date_->setTextAlignment(uikit::NSTextAlignmentRight);
    relevance_date_ = vibrant_label(13);
    relevance_date_->setTextAlignment(uikit::NSTextAlignmentRight);
    unlock_text_ = vibrant_label(12);
    unlock_text_->setText(ns("slide to view"));
    dismiss_ = UIView::create<SBTableViewCellDismissActionButton>(CGRect{});
    addSubview(content_);
    for (UIView* v : std::initializer_list<UIView*>{icon_, title_, subtitle_, message_, event_date_,
                                                    relevance_date_, unlock_text_})
        content_->addSubview(v);
    addSubview(dismiss_);
    return Ref<Object>(this);
}

void SBLockScreenBulletinCell::configure(const BBBulletin* bulletin, uikit::UIImage* icon) {
    if (!bulletin)
        return;
    icon_->setImage(icon);
    title_->setText(bulletin->title());
    subtitle_->setText(bulletin->subtitle());
    message_->setText(bulletin->message());
    event_date_->setText(
        ns(foundation::relative_time_text(bulletin->date(), foundation::RunLoop::main().now())));
    setNeedsLayout();
}

void SBLockScreenBulletinCell::setPrimaryTextColor(UIColor* colour) {
    primary_colour_ = colour;
    title_->setTextColor(colour);
}

void SBLockScreenBulletinCell::setSubtitleTextColor(UIColor* colour) {
    subtitle_->setTextColor(colour);
}
void SBLockScreenBulletinCell::setSecondaryTextColor(UIColor* colour) {
    message_->setTextColor(colour);
}
void SBLockScreenBulletinCell::setEventDateColor(UIColor* colour) {
    event_date_->setTextColor(colour);
}
void SBLockScreenBulletinCell::setRelevanceDateColor(UIColor* colour) {
    relevance_date_->setTextColor(colour);
}

void SBLockScreenBulletinCell::layoutSubviews() {
    double width = bounds().size.width;
    double height = bounds().size.height;
    double text_width = width - kTextLeft - kDateWidth - kMargin;
    // The content stops above the separator so that a coloured row never hides it.
    content_->setFrame(CGRectMake(0, 0, width, std::max(0.0, height - kSeparatorHeight)));
    icon_->setFrame(CGRectMake(kMargin, kTop, kIconSize, kIconSize));
    title_->setFrame(CGRectMake(kTextLeft, kTop, text_width, kTitleHeight));
    event_date_->setFrame(CGRectMake(width - kDateWidth - kMargin, kTop, kDateWidth, kTitleHeight));
    // The message follows the title at once; a subtitle, when there is one, sits between them.
    double y = kTop + kTitleHeight;
    relevance_date_->setFrame(CGRectMake(width - kDateWidth - kMargin, y, kDateWidth, kLineHeight));
    const bool has_subtitle = subtitle_->text() && !subtitle_->text()->str().empty();
    subtitle_->setFrame(CGRectMake(kTextLeft, y, text_width, has_subtitle ? kLineHeight : 0));
    if (has_subtitle)
        y += kLineHeight;
    message_->setFrame(CGRectMake(kTextLeft, y, width - kTextLeft - kMargin, kLineHeight));
    unlock_text_->setFrame(
        CGRectMake(kTextLeft, y + kLineHeight + 2, width - kTextLeft - kMargin, kUnlockTextHeight));
    // Revealed by a swipe the simulation does not make: it waits just past the right edge.
    dismiss_->setFrame(CGRectMake(width, 0, 80, height));
}

void SBLockScreenBulletinCell::draw(uikit::Canvas& canvas) const {
    const auto size = bounds().size;
    canvas.fill_rect(
        CGRectMake(kMargin, size.height - kSeparatorHeight, size.width - kMargin, kSeparatorHeight),
        separator_colour().get());
}

} // namespace platform::springboard
