#include "platform/springboard/nc/SBBulletinListSection.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBBulletinListSection::runtime_class() {
    static Class cls = ClassBuilder<SBBulletinListSection>("SBBulletinListSection", NSObject::runtime_class())
                           .method<&SBBulletinListSection::sectionID>("sectionID")
                           .get();
    return cls;
}

Ref<SBBulletinListSection> SBBulletinListSection::make(const std::string& section_id) {
    auto section = make_object<SBBulletinListSection>();
    section->section_id_ = foundation::ns(section_id);
    return section;
}

} // namespace platform::springboard
