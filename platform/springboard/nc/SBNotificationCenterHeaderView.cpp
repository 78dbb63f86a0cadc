#include "platform/springboard/nc/SBNotificationCenterHeaderView.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;

namespace {
constexpr double kInset = 15;
constexpr double kClearWidth = 24;
} // namespace

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
    : title_label_(make_object<uikit::UILabel>()), clear_label_(make_object<uikit::UILabel>()) {
    set_reuse_identifier(kReuseIdentifier);
    title_label_->setTextColor(uikit::UIColor::whiteColor().get());
    title_label_->setFont(uikit::UIFont::systemFontOfSize(15).get());
    clear_label_->setText(foundation::ns("x").get());
    clear_label_->setTextColor(uikit::UIColor::whiteColor().get());
    clear_label_->setTextAlignment(uikit::NSTextAlignmentCenter);
    clear_label_->setHidden(true);
    contentView()->addSubview(title_label_.get());
    contentView()->addSubview(clear_label_.get());
}

void SBNotificationCenterHeaderView::setHasClearButton(bool has) {
    has_clear_button_ = has;
    clear_label_->setHidden(!has);
}

void SBNotificationCenterHeaderView::layoutSubviews() {
    UITableViewHeaderFooterView::layoutSubviews();
    auto size = bounds().size;
    title_label_->setFrame(
        CGRectMake(kInset, 0, std::max(0.0, size.width - 2 * kInset - kClearWidth), size.height));
    clear_label_->setFrame(CGRectMake(size.width - kInset - kClearWidth, 0, kClearWidth, size.height));
}

} // namespace platform::springboard
