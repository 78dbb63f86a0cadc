#include "platform/springboard/nc/SBFVibrantTableViewHeaderFooterView.h"

namespace platform::springboard {

using namespace platform::runtime;

namespace {
// The dark vibrant blur of Notification Center's headers.
constexpr int64_t kVibrantBackdropStyle = 2030;
} // namespace

Class SBFVibrantTableViewHeaderFooterView::runtime_class() {
    static Class cls =
        ClassBuilder<SBFVibrantTableViewHeaderFooterView>("_SBFVibrantTableViewHeaderFooterView",
                                                          uikit::UITableViewHeaderFooterView::runtime_class())
            .method<&SBFVibrantTableViewHeaderFooterView::initWithFrame>("initWithFrame:")
            .ivar("_backdrop", &SBFVibrantTableViewHeaderFooterView::backdrop_)
            .get();
    return cls;
}

Ref<Object> SBFVibrantTableViewHeaderFooterView::initWithFrame(foundation::CGRect frame) {
    UITableViewHeaderFooterView::initWithFrame(frame);
    Ref<Object> made = msg<Ref<Object>>(class_createInstance(uikit::UIBackdropView::runtime_class()),
                                        "initWithStyle:"_sel, kVibrantBackdropStyle);
    backdrop_ = Ref<uikit::UIBackdropView>(dynamic_cast<uikit::UIBackdropView*>(made.get()));
    insertSubviewAtIndex(backdrop_.get(), 0);
    return Ref<Object>(this);
}

} // namespace platform::springboard
