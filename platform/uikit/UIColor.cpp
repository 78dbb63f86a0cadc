#include "platform/uikit/UIColor.h"

#include "colour/adjustments.h"

namespace platform::uikit {

using namespace platform::runtime;

namespace {
Ref<Object> colorWithRGBAMessage(Object*, double r, double g, double b, double a) {
    return UIColor::colorWithRGBA(r, g, b, a);
}
Ref<Object> colorWithHSBA(Object*, double h, double s, double v, double a) {
    return UIColor::with(zimtone::colour::fromHSB({h, s, v, a}));
}
Ref<Object> white(Object*) {
    return UIColor::whiteColor();
}
Ref<Object> black(Object*) {
    return UIColor::blackColor();
}
Ref<Object> clear(Object*) {
    return UIColor::clearColor();
}

UIColor* shared(const Colour& c) {
    auto* colour = make_object<UIColor>(c).leak(); // shared colours live as long as the process
    return colour;
}
} // namespace

Class UIColor::runtime_class() {
    static Class cls = ClassBuilder<UIColor>("UIColor", NSObject::runtime_class())
                           .method<&UIColor::colorWithAlphaComponent>("colorWithAlphaComponent:")
                           .method<&UIColor::CGColor>("CGColor")
                           .class_method<&colorWithRGBAMessage>("colorWithRed:green:blue:alpha:")
                           .class_method<&colorWithHSBA>("colorWithHue:saturation:brightness:alpha:")
                           .class_method<&white>("whiteColor")
                           .class_method<&black>("blackColor")
                           .class_method<&clear>("clearColor")
                           .get();
    return cls;
}

Ref<UIColor> UIColor::colorWithRGBA(double r, double g, double b, double a) {
    return make_object<UIColor>(Colour{r, g, b, a});
}

Ref<UIColor> UIColor::whiteColor() {
    static UIColor* c = shared({1, 1, 1, 1});
    return Ref<UIColor>(c);
}
Ref<UIColor> UIColor::blackColor() {
    static UIColor* c = shared({0, 0, 0, 1});
    return Ref<UIColor>(c);
}
Ref<UIColor> UIColor::clearColor() {
    static UIColor* c = shared({0, 0, 0, 0});
    return Ref<UIColor>(c);
}

Ref<UIColor> UIColor::colorWithAlphaComponent(double alpha) const {
    Colour c = colour_;
    c.alpha = alpha;
    return make_object<UIColor>(c);
}

const UIColor* colour_of(const Object* obj) {
    return dynamic_cast<const UIColor*>(obj);
}

} // namespace platform::uikit
