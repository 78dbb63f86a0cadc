// The bulletins of one app as the bulletin board lists them, named by the app's section ID.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

namespace platform::springboard {

using runtime::Class;
using runtime::Ref;

class SBBulletinListSection : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<SBBulletinListSection> make(const std::string& section_id);

    foundation::NSString* sectionID() const { return section_id_.get(); }

  private:
    Ref<foundation::NSString> section_id_;
};

} // namespace platform::springboard
