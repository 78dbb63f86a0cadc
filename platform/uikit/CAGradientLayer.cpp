#include "platform/uikit/CAGradientLayer.h"

namespace platform::uikit {

using namespace platform::runtime;
using foundation::NSArray;

namespace {
Ref<NSArray> copy_of(const NSArray* array) {
    return array ? NSArray::create(array->items()) : nullptr;
}
} // namespace

Class CAGradientLayer::runtime_class() {
    static Class cls = ClassBuilder<CAGradientLayer>("CAGradientLayer", CALayer::runtime_class())
                           .method<&CAGradientLayer::colors>("colors")
                           .method<&CAGradientLayer::setColors>("setColors:")
                           .method<&CAGradientLayer::startPoint>("startPoint")
                           .method<&CAGradientLayer::setStartPoint>("setStartPoint:")
                           .method<&CAGradientLayer::endPoint>("endPoint")
                           .method<&CAGradientLayer::setEndPoint>("setEndPoint:")
                           .method<&CAGradientLayer::locations>("locations")
                           .method<&CAGradientLayer::setLocations>("setLocations:")
                           .get();
    return cls;
}

void CAGradientLayer::setColors(const NSArray* colours) {
    colors_ = copy_of(colours);
}
void CAGradientLayer::setLocations(const NSArray* locations) {
    locations_ = copy_of(locations);
}

std::vector<const UIColor*> CAGradientLayer::colour_list() const {
    std::vector<const UIColor*> colours;
    if (!colors_)
        return colours;
    for (const auto& item : colors_->items())
        colours.push_back(colour_of(item.get()));
    return colours;
}

} // namespace platform::uikit
