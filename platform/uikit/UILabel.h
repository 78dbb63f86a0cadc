// Labels: a text, plain or attributed, with a colour, a font and an alignment.
#pragma once

#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

enum NSTextAlignment : int64_t {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
    NSTextAlignmentJustified = 3,
    NSTextAlignmentNatural = 4,
};

// The text and the attributed text are two views of one value: setting the text makes an
// attributed string without attributes, setting the attributed text sets the text to its
// characters. As on the device, a new text colour or font is applied over the whole attributed
// text, and an attributed text passes the colour and font of its first character to the label.
// Drawing takes a character's colour from its attributes, else the label's text colour.
class UILabel : public UIView {
  public:
    static Class runtime_class();

    UILabel();

    foundation::NSString* text() const { return text_.get(); }
    void setText(foundation::NSString* text);
    foundation::NSAttributedString* attributedText() const { return attributed_.get(); }
    void setAttributedText(const foundation::NSAttributedString* text);
    UIColor* textColor() const { return text_colour_.get(); }
    // nil restores the default black.
    void setTextColor(UIColor* colour);
    UIFont* font() const { return font_.get(); }
    // nil restores the default system font of 17 points.
    void setFont(UIFont* font);
    int64_t textAlignment() const { return alignment_; }
    void setTextAlignment(int64_t alignment) { alignment_ = alignment; }

    // The attributed text on one line in the bounds, in the label's font and alignment.
    void draw(Canvas& canvas) const override;

  private:
    // Sets one attribute over the whole attributed text.
    void apply_to_whole_text(const char* name, runtime::Object* value);

    Ref<foundation::NSString> text_;
    Ref<foundation::NSAttributedString> attributed_;
    Ref<UIColor> text_colour_;
    Ref<UIFont> font_;
    int64_t alignment_{NSTextAlignmentNatural};
};

} // namespace platform::uikit
