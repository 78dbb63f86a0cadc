// The cell of an app row: the app's icon and name, and a disc previewing its banner colour under
// the banner settings read when the cell was made, cycling when the colour-cycling effect is on
// and the app has no colour of its own.
#pragma once

#include "colour/Colour.h"
#include "platform/foundation/NSTimer.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"

namespace zimtone::prefs {

using platform::preferences::PSSpecifier;
using platform::preferences::PSTableCell;
using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::uikit::UIColor;
using platform::uikit::UIImage;
using platform::uikit::UIImageView;

class ApplicationColorViewer : public PSTableCell {
  public:
    static Class runtime_class();
    static constexpr double kDiscSize = 29.5;
    static constexpr double kRowMargin = 15;

    Ref<Object> initWithStyleReuseIdentifierSpecifier(int64_t style, platform::foundation::NSString* reuse,
                                                      PSSpecifier* specifier);
    Ref<UIColor> dominantColorFor(UIImage* image);
    Ref<UIColor> modifySaturationWithAndFactor(UIColor* colour, double factor);
    Ref<UIImage> imageWithColor(UIColor* colour);
    void changeColorTo(UIColor* colour);
    void changeBlurColor();
    void stopUnicorn();

    UIImageView* applicationIconView() const { return icon_view_.get(); }
    void setApplicationIconView(UIImageView* view) { icon_view_ = view; }
    UIImage* applicationIcon() const { return icon_.get(); }
    void setApplicationIcon(UIImage* icon) { icon_ = icon; }

    // The exact colour the disc shows (its one-pixel image holds it in 8 bits).
    const zimtone::colour::Colour& disc_colour() const { return disc_colour_; }
    bool is_cycling() const { return timer_ != nullptr; }

  private:
    void show(const zimtone::colour::Colour& colour);

    double BannerColorSaturation{1.0};
    double BannerColorAlpha{1.0};
    bool AllowSaturation{true};
    bool BannersUnicornEnabled{false};
    Ref<platform::foundation::NSTimer> timer_;
    Ref<UIImageView> icon_view_;
    Ref<UIImage> icon_;
    zimtone::colour::Colour disc_colour_{0, 0, 0, 1};
};

} // namespace zimtone::prefs
