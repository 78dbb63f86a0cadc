#include "platform/uikit/CALayer.h"

#include <algorithm>

#include "platform/foundation/NSArray.h"

namespace platform::uikit {

using namespace platform::runtime;

namespace {
// +layer: an initialised layer of the receiving class, so subclasses get their own kind.
Ref<Object> newLayer(Object* cls) {
    Ref<Object> layer = class_createInstance(static_cast<Class>(cls));
    return msg<Ref<Object>>(layer, "init"_sel);
}
} // namespace

Class CALayer::runtime_class() {
    static Class cls = ClassBuilder<CALayer>("CALayer", NSObject::runtime_class())
                           .method<&CALayer::frame>("frame")
                           .method<&CALayer::setFrame>("setFrame:")
                           .method<&CALayer::bounds>("bounds")
                           .method<&CALayer::compositingFilter>("compositingFilter")
                           .method<&CALayer::setCompositingFilter>("setCompositingFilter:")
                           .method<&CALayer::mask>("mask")
                           .method<&CALayer::setMask>("setMask:")
                           .method<&CALayer::cornerRadius>("cornerRadius")
                           .method<&CALayer::setCornerRadius>("setCornerRadius:")
                           .method<&CALayer::masksToBounds>("masksToBounds")
                           .method<&CALayer::setMasksToBounds>("setMasksToBounds:")
                           .method<&CALayer::contents>("contents")
                           .method<&CALayer::setContents>("setContents:")
                           .method<&CALayer::backgroundColor>("backgroundColor")
                           .method<&CALayer::setBackgroundColor>("setBackgroundColor:")
                           .method<&CALayer::superlayer>("superlayer")
                           .method<&CALayer::sublayers>("sublayers")
                           .method<&CALayer::addSublayer>("addSublayer:")
                           .method<&CALayer::insertSublayerAtIndex>("insertSublayer:atIndex:")
                           .method<&CALayer::removeFromSuperlayer>("removeFromSuperlayer")
                           .class_method<&newLayer>("layer")
                           .get();
    return cls;
}

CALayer::~CALayer() {
    for (auto& layer : sublayers_)
        layer->superlayer_ = nullptr;
}

Ref<foundation::NSArray> CALayer::sublayers() const {
    if (sublayers_.empty())
        return nullptr;
    return foundation::NSArray::create({sublayers_.begin(), sublayers_.end()});
}

bool CALayer::is_ancestor_of(const CALayer* layer) const {
    for (const CALayer* l = layer; l; l = l->superlayer_)
        if (l == this)
            return true;
    return false;
}

Ref<CALayer> CALayer::detach_from_superlayer() {
    Ref<CALayer> self(this);
    if (!superlayer_)
        return self;
    auto& siblings = superlayer_->sublayers_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), self));
    superlayer_ = nullptr;
    return self;
}

void CALayer::addSublayer(CALayer* layer) {
    insertSublayerAtIndex(layer, static_cast<uint32_t>(std::min<size_t>(sublayers_.size(), UINT32_MAX)));
}

void CALayer::insertSublayerAtIndex(CALayer* layer, uint32_t index) {
    if (!layer || layer->is_ancestor_of(this))
        return;
    Ref<CALayer> moved = layer->detach_from_superlayer();
    size_t at = std::min<size_t>(index, sublayers_.size());
    sublayers_.insert(sublayers_.begin() + static_cast<std::ptrdiff_t>(at), moved);
    layer->superlayer_ = this;
}

void CALayer::removeFromSuperlayer() {
    detach_from_superlayer();
}

} // namespace platform::uikit
