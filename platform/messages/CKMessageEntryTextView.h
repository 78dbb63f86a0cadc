// The reply's text field: typed text, a placeholder while empty, a caret in the tint colour
// while it is first responder, and the keyboard that comes with being first responder.
#pragma once

#include <functional>
#include <string>

#include "platform/foundation/NSString.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

namespace platform::messages {

using platform::runtime::Class;
using platform::runtime::Ref;
using platform::uikit::UIColor;
using platform::uikit::UILabel;

class CKMessageEntryTextView : public uikit::UIView {
  public:
    static Class runtime_class();

    CKMessageEntryTextView();

    UIColor* textColor() const { return text_label_->textColor(); }
    void setTextColor(UIColor* colour) { text_label_->setTextColor(colour); }
    UILabel* placeholderLabel() const { return placeholder_.get(); }

    bool isFirstResponder() const { return first_responder_; }
    // Brings the keyboard up in the view's window; NO when the view is in no window.
    bool becomeFirstResponder();
    // Dismisses the keyboard.
    bool resignFirstResponder();

    const std::string& text() const { return text_; }
    void insert_text(const std::string& text);
    // What the keyboard sends: insertText: appends, deleteBackward removes the last character
    // (a whole UTF-8 sequence). Both tell on_text_change when the text changed.
    void insertText(foundation::NSString* text);
    void deleteBackward();
    bool hasText() const { return !text_.empty(); }
    Ref<foundation::NSString> text_object() const;
    // Called after each change of the text, as a text view tells its delegate.
    std::function<void()> on_text_change;

    void layoutSubviews();
    void draw(uikit::Canvas& canvas) const override;

  private:
    void show_text();

    std::string text_;
    Ref<UILabel> text_label_;
    Ref<UILabel> placeholder_;
    bool first_responder_{false};
};

} // namespace platform::messages
