// Gradient layers: colours spread from a start point to an end point in unit coordinates.
#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/uikit/CALayer.h"

namespace platform::uikit {

// Runs top to bottom by default; with no locations the colours are spaced evenly.
class CAGradientLayer : public CALayer {
  public:
    static Class runtime_class();

    CAGradientLayer() = default;

    // Kept as an immutable copy of what was set, as the platform does.
    foundation::NSArray* colors() const { return colors_.get(); }
    void setColors(const foundation::NSArray* colours);
    // The colour objects in order; an entry that is not a colour reads as nullptr.
    std::vector<const UIColor*> colour_list() const;
    CGPoint startPoint() const { return start_; }
    void setStartPoint(CGPoint point) { start_ = point; }
    CGPoint endPoint() const { return end_; }
    void setEndPoint(CGPoint point) { end_ = point; }
    foundation::NSArray* locations() const { return locations_.get(); }
    void setLocations(const foundation::NSArray* locations);

  private:
    Ref<foundation::NSArray> colors_;
    CGPoint start_{0.5, 0.0};
    CGPoint end_{0.5, 1.0};
    Ref<foundation::NSArray> locations_;
};

} // namespace platform::uikit
