// A section of the Notifications list: it shows one bulletin-board list section.
#pragma once

#include "platform/springboard/nc/SBBulletinListSection.h"

namespace platform::springboard {

class SBBulletinViewSection : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<SBBulletinViewSection> make(const std::string& section_id);

    SBBulletinListSection* representedListSection() const { return list_section_.get(); }

  private:
    Ref<SBBulletinListSection> list_section_;
};

} // namespace platform::springboard
