#include "platform/springboard/SBUIBannerItem.h"

#include "platform/applist/ALApplicationList.h"

namespace platform::springboard {

using namespace platform::runtime;

namespace {
constexpr uint64_t kSmallIconSize = 29;
} // namespace

Class SBUIBannerItem::runtime_class() {
    static Class cls = ClassBuilder<SBUIBannerItem>("SBUIBannerItem", NSObject::runtime_class())
                           .method<&SBUIBannerItem::iconImage>("iconImage")
                           .ivar("_iconImage", &SBUIBannerItem::icon_image_)
                           .get();
    return cls;
}

void SBUIBannerItem::set_bulletin(BBBulletin* bulletin) {
    bulletin_ = bulletin;
    icon_image_ = nullptr;
    if (bulletin)
        icon_image_ = applist::ALApplicationList::sharedApplicationList()->iconOfSizeForDisplayIdentifier(
            kSmallIconSize, bulletin->sectionID().get());
}

} // namespace platform::springboard
