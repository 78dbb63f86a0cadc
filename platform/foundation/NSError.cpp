#include "platform/foundation/NSError.h"

namespace platform::foundation {

using namespace platform::runtime;

Class NSError::runtime_class() {
    static Class cls = ClassBuilder<NSError>("NSError", NSObject::runtime_class())
                           .method<&NSError::domain>("domain")
                           .method<&NSError::code>("code")
                           .method<&NSError::localizedDescription>("localizedDescription")
                           .get();
    return cls;
}

NSError::NSError(std::string domain, int64_t code, std::string description)
    : domain_(ns(std::move(domain))), code_(code), description_(ns(std::move(description))) {}

NSError* NSError::cocoa_error(NSFileReadError code) {
    auto make = [](NSFileReadError c, const char* text) {
        return make_object<NSError>("NSCocoaErrorDomain", c, text).leak(); // shared for the process
    };
    static NSError* unknown = make(NSFileReadUnknownError, "The file couldn't be opened.");
    static NSError* missing = make(NSFileReadNoSuchFileError, "The file doesn't exist.");
    static NSError* encoding = make(NSFileReadInapplicableStringEncodingError,
                                    "The file couldn't be opened using the text encoding.");
    switch (code) {
    case NSFileReadNoSuchFileError:
        return missing;
    case NSFileReadInapplicableStringEncodingError:
        return encoding;
    default:
        return unknown;
    }
}

} // namespace platform::foundation
