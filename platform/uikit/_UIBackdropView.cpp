#include "platform/uikit/_UIBackdropView.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIBackdropView::runtime_class() {
    static Class cls = ClassBuilder<UIBackdropView>("_UIBackdropView", UIView::runtime_class())
                           .method<&UIBackdropView::initWithStyle>("initWithStyle:")
                           .method<&UIBackdropView::style>("style")
                           .method<&UIBackdropView::inputSettings>("inputSettings")
                           .method<&UIBackdropView::blurRadiusSetOnce>("blurRadiusSetOnce")
                           .method<&UIBackdropView::setBlurRadiusSetOnce>("setBlurRadiusSetOnce:")
                           .method<&UIBackdropView::blurRadius>("blurRadius")
                           .method<&UIBackdropView::setBlurRadius>("setBlurRadius:")
                           .method<&UIBackdropView::blurQuality>("blurQuality")
                           .method<&UIBackdropView::setBlurQuality>("setBlurQuality:")
                           .get();
    return cls;
}

UIBackdropView::UIBackdropView() : settings_(make_object<UIBackdropViewSettings>()) {}

Ref<Object> UIBackdropView::initWithStyle(int64_t style) {
    Ref<Object> initialised = msg<Ref<Object>>(this, "initWithFrame:"_sel, CGRect{});
    if (auto* backdrop = dynamic_cast<UIBackdropView*>(initialised.get())) {
        backdrop->style_ = style;
        backdrop->has_own_frame_ = false;
    }
    return initialised;
}

} // namespace platform::uikit
