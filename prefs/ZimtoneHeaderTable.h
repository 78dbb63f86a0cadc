// The header row: an image of the bundle used as the mask of a top-to-bottom gradient whose
// colours the row gives as hex strings.
#pragma once

#include "platform/preferences/PSTableCell.h"
#include "platform/uikit/CAGradientLayer.h"

namespace zimtone::prefs {

using platform::preferences::PSSpecifier;
using platform::preferences::PSTableCell;
using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;

class ZimtoneHeaderTable : public PSTableCell {
  public:
    static Class runtime_class();

    Ref<Object> initWithStyleReuseIdentifierSpecifier(int64_t style, platform::foundation::NSString* reuse,
                                                      PSSpecifier* specifier);
    void layoutSubviews();

    platform::uikit::CALayer* maskLayer() const { return mask_layer_.get(); }
    platform::uikit::UIView* mainView() const { return main_view_.get(); }
    platform::uikit::UIView* colorWith() const { return colour_view_.get(); }
    platform::uikit::CAGradientLayer* gradient() const { return gradient_.get(); }
    double height() const { return height_; }

  private:
    Ref<platform::uikit::CALayer> mask_layer_;
    Ref<platform::uikit::UIView> main_view_;
    double height_{0};
    Ref<platform::uikit::UIView> colour_view_;
    Ref<platform::uikit::CAGradientLayer> gradient_;
};

} // namespace zimtone::prefs
