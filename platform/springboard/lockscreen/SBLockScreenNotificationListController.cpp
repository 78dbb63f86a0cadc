#include "platform/springboard/lockscreen/SBLockScreenNotificationListController.h"

#include "platform/applist/ALApplicationList.h"
#include "platform/springboard/BulletinStore.h"

namespace platform::springboard {

using namespace platform::runtime;

namespace {
constexpr uint64_t kSmallIconSize = 29;
} // namespace

Class SBLockScreenNotificationListController::runtime_class() {
    static Class cls = ClassBuilder<SBLockScreenNotificationListController>(
                           "SBLockScreenNotificationListController", NSObject::runtime_class())
                           .method<&SBLockScreenNotificationListController::observerAddBulletin>(
                               "observer:addBulletin:forFeed:playLightsAndSirens:withReply:")
                           .ivar("_observer", &SBLockScreenNotificationListController::observer_)
                           .get();
    return cls;
}

Ref<SBLockScreenNotificationListController>
SBLockScreenNotificationListController::create(SBLockScreenView* lock_view) {
    auto controller = make_object<SBLockScreenNotificationListController>();
    controller->observer_ = make_object<BBObserver>();
    controller->lock_view_ = lock_view;
    return controller;
}

void SBLockScreenNotificationListController::observerAddBulletin(Object*, Object* bulletin, uint64_t, bool,
                                                                 Object*) {
    if (auto* b = dynamic_cast<BBBulletin*>(bulletin))
        BulletinStore::shared().deliver(b);
}

void SBLockScreenNotificationListController::add_bulletin(BBBulletin* bulletin) {
    if (!bulletin || !lock_view_)
        return;
    if (!list_) {
        list_ = uikit::UIView::create<SBLockScreenNotificationListView>(lock_view_->bounds());
        lock_view_->setNotificationListView(list_);
    }
    auto icon = applist::ALApplicationList::sharedApplicationList()->iconOfSizeForDisplayIdentifier(
        kSmallIconSize, bulletin->sectionID());
    list_->model()->insert_newest(SBAwayBulletinListItem::with(bulletin, icon));
    list_->reloadData();
}

bool SBLockScreenNotificationListController::remove_list() {
    if (!list_)
        return false;
    msg(list_.get(), "prepareForRemoval"_sel);
    lock_view_->setNotificationListView(nullptr);
    list_ = nullptr;
    return true;
}

} // namespace platform::springboard
