// The ordinary banner item: a bulletin the home screen received, which it answers as its seed.
#pragma once

#include "platform/springboard/SBUIBannerItem.h"

namespace platform::springboard {

// Runtime class "SBBulletinBannerItem".
class SBBulletinBannerItem : public SBUIBannerItem {
  public:
    static Class runtime_class();
    static Ref<SBBulletinBannerItem> with_bulletin(BBBulletin* bulletin);

    Ref<BBBulletin> seedBulletin() const { return Ref<BBBulletin>(bulletin()); }
};

} // namespace platform::springboard
