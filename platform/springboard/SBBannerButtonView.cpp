#include "platform/springboard/SBBannerButtonView.h"

namespace platform::springboard {

using namespace platform::runtime;
using foundation::CGRectMake;

namespace {
constexpr double kButtonGap = 8;
} // namespace

Class SBBannerButtonView::runtime_class() {
    static Class cls = ClassBuilder<SBBannerButtonView>("SBBannerButtonView", uikit::UIView::runtime_class())
                           .method<&SBBannerButtonView::buttons>("buttons")
                           .method<&SBBannerButtonView::layoutSubviews>("layoutSubviews")
                           .get();
    return cls;
}

Ref<SBBannerButtonView> SBBannerButtonView::with_titles(const std::vector<std::string>& titles) {
    auto row = UIView::create<SBBannerButtonView>({});
    for (const auto& title : titles) {
        auto button = UIView::create<SBNotificationVibrantButton>({});
        button->set_title(title);
        row->addSubview(button.get());
        row->buttons_.push_back(button);
    }
    return row;
}

Ref<foundation::NSArray> SBBannerButtonView::buttons() const {
    return foundation::NSArray::create({buttons_.begin(), buttons_.end()});
}

void SBBannerButtonView::layoutSubviews() {
    if (buttons_.empty())
        return;
    const auto size = bounds().size;
    const double count = static_cast<double>(buttons_.size());
    const double width = (size.width - kButtonGap * (count - 1)) / count;
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setFrame(
            CGRectMake(static_cast<double>(i) * (width + kButtonGap), 0, width, size.height));
}

} // namespace platform::springboard
