#include "colour/bridge/ColourServices.h"

#include "colour/adjustments.h"
#include "colour/dominant_colour.h"
#include "platform/uikit/UIImage.h"

namespace zimtone::colour::bridge {

namespace {
Colour components_of(const Object* colour) {
    auto* c = platform::uikit::colour_of(colour);
    return c ? c->colour() : Colour{0, 0, 0, 0};
}
} // namespace

Ref<UIColor> getDominantColor(const Object* image) {
    auto* img = dynamic_cast<const platform::uikit::UIImage*>(image);
    return UIColor::with(colour::getDominantColor(img ? &img->image() : nullptr));
}

Ref<UIColor> modifySaturationWith(const Object* colour, double saturation) {
    return UIColor::with(colour::modifySaturationWith(components_of(colour), saturation));
}

Ref<UIColor> reverseColor(const Object* colour) {
    return colour::reverseColor(components_of(colour)) == TextColour::White ? UIColor::whiteColor()
                                                                            : UIColor::blackColor();
}

} // namespace zimtone::colour::bridge
