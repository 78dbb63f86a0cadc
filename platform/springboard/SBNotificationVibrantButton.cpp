#include "platform/springboard/SBNotificationVibrantButton.h"

#include "platform/foundation/NSString.h"

namespace platform::springboard {

using namespace platform::runtime;
using uikit::UIButton;
using uikit::UIColor;

namespace {

constexpr double kCornerRadius = 8;

Ref<UIButton> make_title_button(Ref<UIColor> title_colour) {
    auto button = msg<Ref<UIButton>>(UIButton::runtime_class(), "buttonWithType:"_sel,
                                     int64_t{uikit::UIButtonTypeCustom});
    button->setTitleColorForState(title_colour.get(), uikit::UIControlStateNormal);
    return button;
}

} // namespace

Class SBNotificationVibrantButton::runtime_class() {
    static Class cls = ClassBuilder<SBNotificationVibrantButton>("SBNotificationVibrantButton",
                                                                 uikit::UIView::runtime_class())
                           .method<&SBNotificationVibrantButton::initWithFrame>("initWithFrame:")
                           .method<&SBNotificationVibrantButton::layoutSubviews>("layoutSubviews")
                           .ivar("_overlayButton", &SBNotificationVibrantButton::overlay_button_)
                           .ivar("_vibrantButton", &SBNotificationVibrantButton::vibrant_button_)
                           .get();
    return cls;
}

Ref<Object> SBNotificationVibrantButton::initWithFrame(uikit::CGRect frame) {
    UIView::initWithFrame(frame);
    setBackgroundColor(UIColor::colorWithRGBA(1, 1, 1, 0.35).get());
    layer()->setCornerRadius(kCornerRadius);
    vibrant_button_ = make_title_button(UIColor::colorWithRGBA(0.25, 0.25, 0.25, 1));
    vibrant_button_->layer()->setCompositingFilter(foundation::ns("plusD"));
    addSubview(vibrant_button_.get());
    overlay_button_ = make_title_button(UIColor::colorWithRGBA(0.2, 0.2, 0.2, 0.5));
    addSubview(overlay_button_.get());
    return Ref<Object>(this);
}

void SBNotificationVibrantButton::layoutSubviews() {
    if (!vibrant_button_->superview())
        insertSubviewAtIndex(vibrant_button_.get(), 0);
    vibrant_button_->setFrame(bounds());
    overlay_button_->setFrame(bounds());
}

void SBNotificationVibrantButton::set_title(const std::string& title) {
    auto text = foundation::ns(title);
    vibrant_button_->setTitleForState(text.get(), uikit::UIControlStateNormal);
    overlay_button_->setTitleForState(text.get(), uikit::UIControlStateNormal);
}

} // namespace platform::springboard
