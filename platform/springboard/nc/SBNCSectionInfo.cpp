#include "platform/springboard/nc/SBNCSectionInfo.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBNCSectionInfo::runtime_class() {
    static Class cls = ClassBuilder<SBNCSectionInfo>("SBNCSectionInfo", NSObject::runtime_class())
                           .method<&SBNCSectionInfo::identifier>("identifier")
                           .get();
    return cls;
}

Ref<SBNCSectionInfo> SBNCSectionInfo::make(const std::string& identifier) {
    auto section = make_object<SBNCSectionInfo>();
    section->identifier_ = foundation::ns(identifier);
    return section;
}

} // namespace platform::springboard
