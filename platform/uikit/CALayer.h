// Layers: the frame, corner, mask, contents and compositing filter that drawing reads.
#pragma once

#include <vector>

#include "platform/foundation/Geometry.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace platform::foundation {
class NSArray;
}

namespace platform::uikit {

using foundation::CGPoint;
using foundation::CGRect;
using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;

// A plain layer. Every view owns one; further layers hang under it as sublayers (a parent owns
// its sublayers, the superlayer pointer is weak). The layers of subviews are not mirrored
// here: a view's sublayers are only the layers added to it directly, drawn under its subviews.
class CALayer : public runtime::NSObject {
  public:
    static Class runtime_class();

    CALayer() = default;
    ~CALayer() override;

    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame) { frame_ = frame; }
    CGRect bounds() const { return {{}, frame_.size}; }

    // Usually an NSString naming a blend mode ("plusL" on vibrant host views), or nil.
    Object* compositingFilter() const { return compositing_filter_.get(); }
    void setCompositingFilter(Object* filter) { compositing_filter_ = filter; }
    CALayer* mask() const { return mask_.get(); }
    void setMask(CALayer* mask) { mask_ = mask; }
    double cornerRadius() const { return corner_radius_; }
    void setCornerRadius(double radius) { corner_radius_ = radius; }
    bool masksToBounds() const { return masks_to_bounds_; }
    void setMasksToBounds(bool masks) { masks_to_bounds_ = masks; }
    // Drawn stretched over the bounds.
    UIImage* contents() const { return contents_.get(); }
    void setContents(UIImage* image) { contents_ = image; }
    UIColor* backgroundColor() const { return background_.get(); }
    void setBackgroundColor(UIColor* colour) { background_ = colour; }

    CALayer* superlayer() const { return superlayer_; }
    const std::vector<Ref<CALayer>>& sublayer_list() const { return sublayers_; }
    // A snapshot of the sublayers, bottom first; nil when there are none, as on the device.
    Ref<foundation::NSArray> sublayers() const;
    // A layer that already has a superlayer is moved; a layer cannot become its own ancestor.
    void addSublayer(CALayer* layer);
    // The index is cut to the number of sublayers.
    void insertSublayerAtIndex(CALayer* layer, uint32_t index);
    void removeFromSuperlayer();

  private:
    bool is_ancestor_of(const CALayer* layer) const;
    Ref<CALayer> detach_from_superlayer();

    CGRect frame_;
    Ref<Object> compositing_filter_;
    Ref<CALayer> mask_;
    double corner_radius_{0};
    bool masks_to_bounds_{false};
    Ref<UIImage> contents_;
    Ref<UIColor> background_;
    CALayer* superlayer_{nullptr};
    std::vector<Ref<CALayer>> sublayers_;
};

} // namespace platform::uikit
