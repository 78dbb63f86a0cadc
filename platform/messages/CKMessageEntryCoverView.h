// The rounded field drawn behind the reply text: a fill and a one-point outline.
#pragma once

#include "platform/uikit/UIView.h"

namespace platform::messages {

using platform::runtime::Class;
using platform::runtime::Ref;
using platform::uikit::UIColor;

class CKMessageEntryCoverView : public uikit::UIView {
  public:
    static Class runtime_class();
    static constexpr double kCornerRadius = 16;

    CKMessageEntryCoverView();

    UIColor* fillColor() const { return fill_.get(); }
    void setFillColor(UIColor* colour) { fill_ = colour; }
    UIColor* strokeColor() const { return stroke_.get(); }
    void setStrokeColor(UIColor* colour) { stroke_ = colour; }

    void draw(uikit::Canvas& canvas) const override;

  private:
    Ref<UIColor> fill_;
    Ref<UIColor> stroke_;
};

} // namespace platform::messages
