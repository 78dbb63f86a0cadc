// Opaque property-list values that settings never interpret: raw data and dates.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Ref;

// A data or date value kept only so that a file can be read and written back unchanged. It
// answers neither boolValue nor floatValue: a setting stored with such a value reads as NO / 0.
class NSData : public runtime::NSObject {
  public:
    enum class Kind { Bytes, Date };
    static Class runtime_class();
    static Ref<NSData> dataWithBytes(std::string bytes);
    // A point in time as whole seconds plus microseconds since 2001-01-01 00:00:00 UTC.
    static Ref<NSData> dateWithSeconds(int32_t seconds, int32_t microseconds = 0);

    NSData() = default;
    NSData(Kind kind, std::string bytes, int32_t seconds, int32_t microseconds)
        : kind_(kind), bytes_(std::move(bytes)), seconds_(seconds), microseconds_(microseconds) {}

    Kind kind() const { return kind_; }
    const std::string& bytes() const { return bytes_; }
    int32_t seconds() const { return seconds_; }
    int32_t microseconds() const { return microseconds_; }

  private:
    Kind kind_{Kind::Bytes};
    std::string bytes_;
    int32_t seconds_{0};
    int32_t microseconds_{0};
};

} // namespace platform::foundation
