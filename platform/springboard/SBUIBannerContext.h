// The context of a banner on screen: the item it presents.
#pragma once

#include "platform/springboard/SBUIBannerItem.h"

namespace platform::springboard {

// Runtime class "SBUIBannerContext". The banner controller makes one per presentation.
class SBUIBannerContext : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<SBUIBannerContext> with_item(SBUIBannerItem* item);

    Ref<SBUIBannerItem> item() const { return item_; }

  private:
    Ref<SBUIBannerItem> item_;
};

} // namespace platform::springboard
