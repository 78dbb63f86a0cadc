// The running process's bundle: its identifier, set once by the host process at start.
#pragma once

#include <string>

#include "platform/foundation/NSString.h"

namespace platform::foundation {

class NSBundle : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<NSBundle> mainBundle();
    // Called by a host process before it loads any library.
    static void set_main_bundle_identifier(std::string identifier);

    Ref<NSString> bundleIdentifier() const;
};

} // namespace platform::foundation
