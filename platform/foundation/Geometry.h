// Points, sizes and rectangles in points, passed by value in messages.
#pragma once

#include "platform/runtime/Encoding.h"

namespace platform::foundation {

struct CGPoint {
    double x{0}, y{0};
    bool operator==(const CGPoint&) const = default;
};
struct CGSize {
    double width{0}, height{0};
    bool operator==(const CGSize&) const = default;
};
struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
};

inline CGRect CGRectMake(double x, double y, double w, double h) {
    return CGRect{{x, y}, {w, h}};
}

} // namespace platform::foundation

namespace platform::runtime {
template <> struct TypeEncoding<foundation::CGPoint> { static constexpr const char* value = "{CGPoint=dd}"; };
template <> struct TypeEncoding<foundation::CGSize> { static constexpr const char* value = "{CGSize=dd}"; };
template <> struct TypeEncoding<foundation::CGRect> {
    static constexpr const char* value = "{CGRect={CGPoint=dd}{CGSize=dd}}";
};
} // namespace platform::runtime
