// The home screen's record of its installed apps.
#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/runtime/Runtime.h"

namespace platform::springboard {

// Runtime class "SBApplicationController", one per process ("sharedInstance"). The apps are
// those of the shared application list, in its order.
class SBApplicationController : public runtime::NSObject {
  public:
    static runtime::Class runtime_class();
    static SBApplicationController& shared();

    // The bundle identifier of every installed app, system apps included.
    runtime::Ref<foundation::NSArray> allBundleIdentifiers() const;
};

} // namespace platform::springboard
