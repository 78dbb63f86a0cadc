#include "platform/springboard/lockscreen/SBAwayBulletinListItem.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBAwayBulletinListItem::runtime_class() {
    static Class cls =
        ClassBuilder<SBAwayBulletinListItem>("SBAwayBulletinListItem", NSObject::runtime_class())
            .method<&SBAwayBulletinListItem::activeBulletin>("activeBulletin")
            .method<&SBAwayBulletinListItem::iconImage>("iconImage")
            .get();
    return cls;
}

Ref<SBAwayBulletinListItem> SBAwayBulletinListItem::with(BBBulletin* bulletin, uikit::UIImage* icon) {
    auto item = make_object<SBAwayBulletinListItem>();
    item->bulletin_ = bulletin;
    item->icon_ = icon;
    return item;
}

} // namespace platform::springboard
