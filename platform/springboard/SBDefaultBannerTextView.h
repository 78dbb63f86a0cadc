// The text of a banner: a bold title (with an optional component beside it), a message, and
// the relevance date ("now") at the top right.
#pragma once

#include <string>

#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/UILabel.h"

namespace platform::springboard {

using runtime::Class;
using runtime::Object;
using runtime::Ref;

using foundation::NSAttributedString;
using uikit::UILabel;

// Runtime class "SBDefaultBannerTextView". The strings live in instance variables and the view
// draws them itself, so whatever a variable holds when the banner is drawn is what shows. The
// host builds them in its own colours during layout, whenever new texts were set; strings
// replaced in their variables in between stay until the texts change. The alternate message,
// when set, is drawn instead of the message. The date is a label of its own.
class SBDefaultBannerTextView : public uikit::UIView {
  public:
    static Class runtime_class();

    Ref<runtime::Object> initWithFrame(uikit::CGRect frame);

    UILabel* relevanceDateLabel() const { return relevance_date_label_.get(); }
    // Builds the strings when the texts changed and places the date label.
    void layoutSubviews();
    void draw(uikit::Canvas& canvas) const override;

    // The texts of the next layout pass; an empty component draws nothing beside the title.
    void set_texts(const std::string& title, const std::string& component, const std::string& message);

    NSAttributedString* primary() const { return primary_.get(); }
    NSAttributedString* primary_component() const { return primary_component_.get(); }
    NSAttributedString* secondary() const { return secondary_.get(); }
    NSAttributedString* alternate_secondary() const { return alternate_secondary_.get(); }

  private:
    std::string title_, component_, message_;
    bool texts_changed_{false};
    Ref<NSAttributedString> primary_;
    Ref<NSAttributedString> primary_component_;
    Ref<NSAttributedString> secondary_;
    Ref<NSAttributedString> alternate_secondary_;
    Ref<UILabel> relevance_date_label_;
};

} // namespace platform::springboard
