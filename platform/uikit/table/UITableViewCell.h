// Table cells: a reusable row view whose content lives in its content view.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

class UITableViewCell : public UIView {
  public:
    static Class runtime_class();

    UITableViewCell();

    UIView* contentView() const { return content_view_.get(); }
    UILabel* textLabel() const { return text_label_.get(); }
    foundation::NSString* reuseIdentifier() const { return reuse_identifier_.get(); }
    void set_reuse_identifier(const std::string& identifier) {
        reuse_identifier_ = foundation::ns(identifier);
    }

    // The content view and the text label follow the cell's size.
    void layoutSubviews();

  private:
    Ref<UIView> content_view_;
    Ref<UILabel> text_label_;
    Ref<foundation::NSString> reuse_identifier_;
};

} // namespace platform::uikit
