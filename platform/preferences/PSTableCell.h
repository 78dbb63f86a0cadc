// The table cell of a preference item: a content view, the item's title and icon, and the item.
#pragma once

#include "platform/preferences/PSSpecifier.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

namespace platform::preferences {

enum UITableViewCellStyle : int64_t {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

struct UIEdgeInsets {
    double top{0}, left{0}, bottom{0}, right{0};
};

// Cells are made a full row wide (the screen's width) and 44 points high before the table lays
// them out; the content view always covers the cell.
class PSTableCell : public uikit::UIView {
  public:
    static Class runtime_class();
    static constexpr double kDefaultWidth = 375;
    static constexpr double kDefaultHeight = 44;

    PSTableCell();

    Ref<Object> initWithStyleReuseIdentifierSpecifier(int64_t style, foundation::NSString* reuse_identifier,
                                                      PSSpecifier* specifier);
    int64_t style() const { return style_; }
    foundation::NSString* reuseIdentifier() const { return reuse_identifier_.get(); }
    PSSpecifier* specifier() const { return specifier_.get(); }
    uikit::UIView* contentView() const { return content_view_.get(); }
    uikit::UILabel* textLabel() const { return text_label_.get(); }
    // Shows the item's "iconImage" at the row's left.
    uikit::UIImageView* iconImageView() const { return icon_view_.get(); }
    UIEdgeInsets separatorInset() const { return separator_inset_; }
    void setSeparatorInset(UIEdgeInsets inset) { separator_inset_ = inset; }

    void layoutSubviews();

  private:
    int64_t style_{UITableViewCellStyleDefault};
    Ref<foundation::NSString> reuse_identifier_;
    Ref<PSSpecifier> specifier_;
    Ref<uikit::UIView> content_view_;
    Ref<uikit::UILabel> text_label_;
    Ref<uikit::UIImageView> icon_view_;
    UIEdgeInsets separator_inset_{0, 15, 0, 0};
};

} // namespace platform::preferences
