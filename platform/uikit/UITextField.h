// Text fields: an editable line of text with a placeholder and a keyboard type.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

enum UIKeyboardType : int64_t { UIKeyboardTypeDefault = 0 };

class UITextField : public UIView {
  public:
    static Class runtime_class();

    // An empty field answers the empty string, never nil, as on the device.
    Ref<foundation::NSString> text() const { return text_ ? text_ : foundation::ns(""); }
    void setText(foundation::NSString* text) { text_ = text; }
    foundation::NSString* placeholder() const { return placeholder_.get(); }
    void setPlaceholder(foundation::NSString* placeholder) { placeholder_ = placeholder; }
    int64_t keyboardType() const { return keyboard_type_; }
    void setKeyboardType(int64_t type) { keyboard_type_ = type; }

  private:
    Ref<foundation::NSString> text_;
    Ref<foundation::NSString> placeholder_;
    int64_t keyboard_type_{UIKeyboardTypeDefault};
};

} // namespace platform::uikit
