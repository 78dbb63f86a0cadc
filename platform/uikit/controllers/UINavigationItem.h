// The navigation bar's items of one controller: a title, a left item and the right items.
#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/uikit/controllers/UIBarButtonItem.h"

namespace platform::uikit {

// A left item replaces the back button while it is set.
class UINavigationItem : public runtime::NSObject {
  public:
    static Class runtime_class();

    UIBarButtonItem* leftBarButtonItem() const { return left_.get(); }
    void setLeftBarButtonItem(UIBarButtonItem* item) { left_ = item; }
    void setLeftBarButtonItemAnimated(UIBarButtonItem* item, bool) { left_ = item; }
    foundation::NSArray* rightBarButtonItems() const { return right_.get(); }
    void setRightBarButtonItems(foundation::NSArray* items) { right_ = items; }
    void setRightBarButtonItemsAnimated(foundation::NSArray* items, bool) { right_ = items; }

  private:
    Ref<UIBarButtonItem> left_;
    Ref<foundation::NSArray> right_;
};

} // namespace platform::uikit
