#include "platform/springboard/SBLockScreenNotificationBulletinBannerItem.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBLockScreenNotificationBulletinBannerItem::runtime_class() {
    static Class cls = ClassBuilder<SBLockScreenNotificationBulletinBannerItem>(
                           "SBLockScreenNotificationBulletinBannerItem", SBUIBannerItem::runtime_class())
                           .get();
    return cls;
}

Ref<SBLockScreenNotificationBulletinBannerItem>
SBLockScreenNotificationBulletinBannerItem::with_bulletin(BBBulletin* bulletin) {
    auto item = make_object<SBLockScreenNotificationBulletinBannerItem>();
    item->set_bulletin(bulletin);
    return item;
}

} // namespace platform::springboard
