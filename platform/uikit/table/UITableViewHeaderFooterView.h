// Section header and footer views of a table: reusable, with their content in a content view.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

class UITableViewHeaderFooterView : public UIView {
  public:
    static Class runtime_class();

    UITableViewHeaderFooterView();

    UIView* contentView() const { return content_view_.get(); }
    foundation::NSString* reuseIdentifier() const { return reuse_identifier_.get(); }
    void set_reuse_identifier(const std::string& identifier) {
        reuse_identifier_ = foundation::ns(identifier);
    }

    // The content view follows the view's size.
    void layoutSubviews();

  private:
    Ref<UIView> content_view_;
    Ref<foundation::NSString> reuse_identifier_;
};

} // namespace platform::uikit
