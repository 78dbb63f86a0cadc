#include "platform/springboard/SBBulletinBannerItem.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBBulletinBannerItem::runtime_class() {
    static Class cls =
        ClassBuilder<SBBulletinBannerItem>("SBBulletinBannerItem", SBUIBannerItem::runtime_class())
            .method<&SBBulletinBannerItem::seedBulletin>("seedBulletin")
            .get();
    return cls;
}

Ref<SBBulletinBannerItem> SBBulletinBannerItem::with_bulletin(BBBulletin* bulletin) {
    auto item = make_object<SBBulletinBannerItem>();
    item->set_bulletin(bulletin);
    return item;
}

} // namespace platform::springboard
