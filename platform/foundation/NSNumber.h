// A boxed bool, integer or real number.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Ref;

class NSNumber : public runtime::NSObject {
  public:
    enum class Kind { Bool, Integer, Real };
    static Class runtime_class();
    static Ref<NSNumber> numberWithBool(bool v);
    static Ref<NSNumber> numberWithInteger(int64_t v);
    static Ref<NSNumber> numberWithDouble(double v);

    NSNumber() = default;
    NSNumber(Kind kind, int64_t i, double d) : kind_(kind), integer_(i), real_(d) {}

    Kind kind() const { return kind_; }
    bool boolValue() const { return kind_ == Kind::Real ? real_ != 0.0 : integer_ != 0; }
    double doubleValue() const { return kind_ == Kind::Real ? real_ : static_cast<double>(integer_); }
    float floatValue() const { return static_cast<float>(doubleValue()); }
    int64_t integerValue() const;

  private:
    Kind kind_{Kind::Integer};
    int64_t integer_{0};
    double real_{0.0};
};

} // namespace platform::foundation
