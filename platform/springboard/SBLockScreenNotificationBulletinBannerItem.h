// A notification from the lock-screen list shown again as a banner after unlocking.
#pragma once

#include "platform/springboard/SBUIBannerItem.h"

namespace platform::springboard {

// Runtime class "SBLockScreenNotificationBulletinBannerItem". It has its icon but no
// seedBulletin accessor of its own: the runtime can reach its bulletin only through what others
// add to the class.
class SBLockScreenNotificationBulletinBannerItem : public SBUIBannerItem {
  public:
    static Class runtime_class();
    static Ref<SBLockScreenNotificationBulletinBannerItem> with_bulletin(BBBulletin* bulletin);
};

} // namespace platform::springboard
