// Banner items: what a banner shows, made from one bulletin.
#pragma once

#include "platform/springboard/BBBulletin.h"
#include "platform/uikit/UIImage.h"

namespace platform::springboard {

// The common base of banner items (runtime class "SBUIBannerItem"): the app's icon. The
// bulletin is kept for the host's own drawing; subclasses decide whether the runtime may reach
// it (SBBulletinBannerItem answers it as its seedBulletin).
class SBUIBannerItem : public runtime::NSObject {
  public:
    static Class runtime_class();

    Ref<uikit::UIImage> iconImage() const { return icon_image_; }
    BBBulletin* bulletin() const { return bulletin_.get(); }

  protected:
    // Keeps the bulletin and takes its app's icon at 29 points from the shared application list
    // (nil when the app has none).
    void set_bulletin(BBBulletin* bulletin);

  private:
    Ref<BBBulletin> bulletin_;
    Ref<uikit::UIImage> icon_image_;
};

} // namespace platform::springboard
