#include "platform/springboard/lockscreen/SBLockScreenNotificationModel.h"

#include "platform/foundation/NSIndexPath.h"

namespace platform::springboard {

using namespace platform::runtime;

Class SBLockScreenNotificationModel::runtime_class() {
    static Class cls =
        ClassBuilder<SBLockScreenNotificationModel>("SBLockScreenNotificationModel",
                                                    NSObject::runtime_class())
            .method<&SBLockScreenNotificationModel::listItemAtIndexPath>("listItemAtIndexPath:")
            .get();
    return cls;
}

Ref<SBLockScreenNotificationModel> SBLockScreenNotificationModel::create() {
    return make_object<SBLockScreenNotificationModel>();
}

void SBLockScreenNotificationModel::insert_newest(SBAwayBulletinListItem* item) {
    if (item)
        items_.insert(items_.begin(), Ref<SBAwayBulletinListItem>(item));
}

SBAwayBulletinListItem* SBLockScreenNotificationModel::listItemAtIndexPath(const Object* index_path) const {
    auto* path = dynamic_cast<const foundation::NSIndexPath*>(index_path);
    if (!path || path->section() != 0 || path->row() < 0 || size_t(path->row()) >= items_.size())
        return nullptr;
    return items_[path->row()].get();
}

} // namespace platform::springboard
