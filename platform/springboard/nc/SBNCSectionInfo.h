// A section of the Today list that belongs to one source, named by its identifier.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

namespace platform::springboard {

using runtime::Class;
using runtime::Ref;

class SBNCSectionInfo : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<SBNCSectionInfo> make(const std::string& identifier);

    foundation::NSString* identifier() const { return identifier_.get(); }

  private:
    Ref<foundation::NSString> identifier_;
};

} // namespace platform::springboard
