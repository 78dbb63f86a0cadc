// Error objects handed back through an error out-parameter.
#pragma once

#include <cstdint>
#include <string>

#include "platform/foundation/NSString.h"

namespace platform::foundation {

// The Cocoa error codes of file reading that this platform reports.
enum NSFileReadError : int64_t {
    NSFileReadUnknownError = 256,
    NSFileReadNoSuchFileError = 260,
    NSFileReadInapplicableStringEncodingError = 261,
};

// An error with a domain, a code and a description. The errors a platform call reports are
// shared, immortal objects, so a caller that receives one through an Object** owns nothing.
class NSError : public runtime::NSObject {
  public:
    static Class runtime_class();
    // The shared error of the Cocoa domain with that code.
    static NSError* cocoa_error(NSFileReadError code);

    NSError() = default;
    NSError(std::string domain, int64_t code, std::string description);

    NSString* domain() const { return domain_.get(); }
    int64_t code() const { return code_; }
    NSString* localizedDescription() const { return description_.get(); }

  private:
    Ref<NSString> domain_;
    int64_t code_{0};
    Ref<NSString> description_;
};

} // namespace platform::foundation
