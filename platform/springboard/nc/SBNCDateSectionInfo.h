// The section of the Today list that stands for a date rather than for a source.
#pragma once

#include "platform/foundation/NSNumber.h"
#include "platform/runtime/Runtime.h"

namespace platform::springboard {

using runtime::Class;
using runtime::Ref;

class SBNCDateSectionInfo : public runtime::NSObject {
  public:
    static Class runtime_class();
    // The date in seconds on the run loop's clock.
    static Ref<SBNCDateSectionInfo> make(double date);

    foundation::NSNumber* representedDate() const { return date_.get(); }

  private:
    Ref<foundation::NSNumber> date_;
};

} // namespace platform::springboard
