// The lock-screen list's data: one section of items, newest first.
#pragma once

#include <vector>

#include "platform/springboard/lockscreen/SBAwayBulletinListItem.h"

namespace platform::springboard {

class SBLockScreenNotificationModel : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<SBLockScreenNotificationModel> create();

    void insert_newest(SBAwayBulletinListItem* item);
    size_t count() const { return items_.size(); }
    // nil for an index path outside the one section's rows.
    SBAwayBulletinListItem* listItemAtIndexPath(const Object* index_path) const;

  private:
    std::vector<Ref<SBAwayBulletinListItem>> items_;
};

} // namespace platform::springboard
