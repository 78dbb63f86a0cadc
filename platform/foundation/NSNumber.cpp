#include "platform/foundation/NSNumber.h"

#include <cmath>
#include <limits>

namespace platform::foundation {

using namespace platform::runtime;

Class NSNumber::runtime_class() {
    static Class cls = ClassBuilder<NSNumber>("NSNumber", NSObject::runtime_class())
                           .method<&NSNumber::boolValue>("boolValue")
                           .method<&NSNumber::floatValue>("floatValue")
                           .method<&NSNumber::doubleValue>("doubleValue")
                           .method<&NSNumber::integerValue>("integerValue")
                           .get();
    return cls;
}

Ref<NSNumber> NSNumber::numberWithBool(bool v) {
    return make_object<NSNumber>(Kind::Bool, v ? 1 : 0, v ? 1.0 : 0.0);
}
Ref<NSNumber> NSNumber::numberWithInteger(int64_t v) {
    return make_object<NSNumber>(Kind::Integer, v, static_cast<double>(v));
}
Ref<NSNumber> NSNumber::numberWithDouble(double v) {
    return make_object<NSNumber>(Kind::Real, 0, v);
}

int64_t NSNumber::integerValue() const {
    if (kind_ != Kind::Real)
        return integer_;
    // Out-of-range and NaN reals saturate instead of invoking undefined conversion.
    if (std::isnan(real_))
        return 0;
    if (real_ >= 9.2233720368547758e18)
        return std::numeric_limits<int64_t>::max();
    if (real_ <= -9.2233720368547758e18)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(real_);
}

} // namespace platform::foundation
