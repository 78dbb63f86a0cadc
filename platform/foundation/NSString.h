// Immutable UTF-8 string object with the value readings the settings rely on.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Ref;
class NSArray;

inline constexpr uint64_t NSUTF8StringEncoding = 4;

class NSString : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<NSString> create(std::string utf8);
    // +stringWithContentsOfFile:encoding:error: for a device path. Only UTF-8 is read; a file
    // that cannot be read, or is not valid in the encoding, gives nil and a shared NSError.
    static Ref<NSString> read_file(const NSString* device_path, uint64_t encoding, runtime::Object** error);

    NSString() = default;
    explicit NSString(std::string utf8) : utf8_(std::move(utf8)) {}

    const std::string& str() const { return utf8_; }
    // Length in UTF-16 code units, as the platform counts it.
    uint64_t length() const;
    bool isEqualToString(const NSString* other) const { return other && other->utf8_ == utf8_; }
    // YES for a leading Y, y, T, t or digit 1-9 after blanks, a sign and zeros.
    bool boolValue() const;
    // The leading decimal number, 0 when there is none.
    double doubleValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    Ref<NSArray> componentsSeparatedByString(const NSString* separator) const;

  private:
    std::string utf8_;
};

Ref<NSString> ns(std::string utf8);
// The string of an object that is an NSString, else nullptr.
const std::string* string_of(const runtime::Object* obj);

} // namespace platform::foundation
