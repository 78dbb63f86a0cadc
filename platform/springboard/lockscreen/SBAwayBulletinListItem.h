// A lock-screen list entry: the bulletin it shows and its app's icon.
#pragma once

#include "platform/springboard/BBBulletin.h"
#include "platform/uikit/UIImage.h"

namespace platform::springboard {

class SBAwayBulletinListItem : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<SBAwayBulletinListItem> with(BBBulletin* bulletin, uikit::UIImage* icon);

    BBBulletin* activeBulletin() const { return bulletin_.get(); }
    uikit::UIImage* iconImage() const { return icon_.get(); }

  private:
    Ref<BBBulletin> bulletin_;
    Ref<uikit::UIImage> icon_;
};

} // namespace platform::springboard
