#include "platform/springboard/nc/SBNotificationCenterHeaderView.h"

#include "platform/springboard/ChromeDrawing.h"

#include <algorithm>

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;

namespace {
constexpr double kInset = 15;
constexpr double kIconSize = 20;
constexpr double kIconCornerRadius = 4.5;
constexpr double kIconGap = 10;
constexpr double kClearWidth = 24;
constexpr double kTitleSize = 15;
} // namespace

Class SBNotificationCenterClearGlyph::runtime_class() {
    static Class cls = ClassBuilder<SBNotificationCenterClearGlyph>("SBNotificationCenterClearGlyph",
                                                                    uikit::UIView::runtime_class())
                           .get();
    return cls;
}

void SBNotificationCenterClearGlyph::draw(uikit::Canvas& canvas) const {
    const auto size = bounds().size;
    const double side = std::min({kSize, size.width, size.height});
    draw_circled_x(canvas, CGRectMake((size.width - side) / 2, (size.height - side) / 2, side, side), kStroke,
                   uikit::UIColor::colorWithRGBA(0.85, 0.85, 0.85, 1).get());
}

Class SBNotificationCenterHeaderView::runtime_class() {
    static Class cls =
        ClassBuilder<SBNotificationCenterHeaderView>("SBNotificationCenterHeaderView",
                                                     SBFVibrantTableViewHeaderFooterView::runtime_class())
            .method<&SBNotificationCenterHeaderView::titleLabel>("titleLabel")
            .method<&SBNotificationCenterHeaderView::hasClearButton>("hasClearButton")
            .method<&SBNotificationCenterHeaderView::setHasClearButton>("setHasClearButton:")
            .method<&SBNotificationCenterHeaderView::layoutSubviews>("layoutSubviews")
            .get();
    return cls;
}

SBNotificationCenterHeaderView::SBNotificationCenterHeaderView()
    : title_label_(make_object<uikit::UILabel>()), icon_view_(uikit::UIView::create<uikit::UIImageView>({})),
      clear_glyph_(uikit::UIView::create<SBNotificationCenterClearGlyph>({})) {
    set_reuse_identifier(kReuseIdentifier);
    title_label_->setTextColor(uikit::UIColor::whiteColor().get());
    title_label_->setFont(uikit::UIFont::fontWithName(".SFUIText-Semibold", kTitleSize).get());
    icon_view_->layer()->setCornerRadius(kIconCornerRadius);
    icon_view_->setClipsToBounds(true);
    clear_glyph_->setHidden(true);
    contentView()->addSubview(title_label_.get());
    contentView()->addSubview(clear_glyph_.get());
    contentView()->addSubview(icon_view_.get());
}

void SBNotificationCenterHeaderView::set_icon(uikit::UIImage* icon) {
    icon_view_->setImage(icon);
    icon_view_->setHidden(icon == nullptr);
    setNeedsLayout();
}

void SBNotificationCenterHeaderView::setHasClearButton(bool has) {
    has_clear_button_ = has;
    clear_glyph_->setHidden(!has);
}

void SBNotificationCenterHeaderView::layoutSubviews() {
    UITableViewHeaderFooterView::layoutSubviews();
    auto size = bounds().size;
    const bool has_icon = icon_view_->image() != nullptr;
    icon_view_->setFrame(CGRectMake(kInset, (size.height - kIconSize) / 2, kIconSize, kIconSize));
    const double title_left = has_icon ? kInset + kIconSize + kIconGap : kInset;
    title_label_->setFrame(CGRectMake(
        title_left, 0, std::max(0.0, size.width - title_left - kInset - kClearWidth), size.height));
    clear_glyph_->setFrame(CGRectMake(size.width - kInset - kClearWidth, 0, kClearWidth, size.height));
}

} // namespace platform::springboard
