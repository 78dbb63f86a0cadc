#include "platform/springboard/nc/SBBulletinViewSection.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBBulletinViewSection::runtime_class() {
    static Class cls = ClassBuilder<SBBulletinViewSection>("SBBulletinViewSection", NSObject::runtime_class())
                           .method<&SBBulletinViewSection::representedListSection>("representedListSection")
                           .get();
    return cls;
}

Ref<SBBulletinViewSection> SBBulletinViewSection::make(const std::string& section_id) {
    auto section = make_object<SBBulletinViewSection>();
    section->list_section_ = SBBulletinListSection::make(section_id);
    return section;
}

} // namespace platform::springboard
