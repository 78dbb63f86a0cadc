#include "platform/springboard/SBUIBannerContext.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBUIBannerContext::runtime_class() {
    static Class cls = ClassBuilder<SBUIBannerContext>("SBUIBannerContext", NSObject::runtime_class())
                           .method<&SBUIBannerContext::item>("item")
                           .ivar("_item", &SBUIBannerContext::item_)
                           .get();
    return cls;
}

Ref<SBUIBannerContext> SBUIBannerContext::with_item(SBUIBannerItem* item) {
    auto context = make_object<SBUIBannerContext>();
    context->item_ = item;
    return context;
}

} // namespace platform::springboard
