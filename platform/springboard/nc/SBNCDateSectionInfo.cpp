#include "platform/springboard/nc/SBNCDateSectionInfo.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBNCDateSectionInfo::runtime_class() {
    static Class cls = ClassBuilder<SBNCDateSectionInfo>("SBNCDateSectionInfo", NSObject::runtime_class())
                           .method<&SBNCDateSectionInfo::representedDate>("representedDate")
                           .get();
    return cls;
}

Ref<SBNCDateSectionInfo> SBNCDateSectionInfo::make(double date) {
    auto section = make_object<SBNCDateSectionInfo>();
    section->date_ = foundation::NSNumber::numberWithDouble(date);
    return section;
}

} // namespace platform::springboard
