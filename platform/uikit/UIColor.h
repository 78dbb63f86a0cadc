// Colour objects in the RGB model with double components; the shared white and black are
// single objects, so identity tests against them work as on the device.
#pragma once

#include "colour/Colour.h"
#include "platform/runtime/Runtime.h"

namespace platform::uikit {

using platform::runtime::Class;
using platform::runtime::Ref;
using zimtone::colour::Colour;

class UIColor : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<UIColor> colorWithRGBA(double r, double g, double b, double a);
    static Ref<UIColor> with(const Colour& c) { return colorWithRGBA(c.red, c.green, c.blue, c.alpha); }
    static Ref<UIColor> whiteColor();
    static Ref<UIColor> blackColor();
    static Ref<UIColor> clearColor();

    UIColor() = default;
    explicit UIColor(const Colour& c) : colour_(c) {}

    const Colour& colour() const { return colour_; }
    Ref<UIColor> colorWithAlphaComponent(double alpha) const;
    // Colours double as their CGColor: the drawing side reads the same components.
    Ref<UIColor> CGColor() const { return Ref<UIColor>(const_cast<UIColor*>(this)); }

  private:
    Colour colour_{0, 0, 0, 1};
};

// The colour of an object that is a UIColor, else nullptr.
const UIColor* colour_of(const runtime::Object* obj);

} // namespace platform::uikit
