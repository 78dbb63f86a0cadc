#include "platform/springboard/lockscreen/SBLockScreenManager.h"

#include "platform/springboard/BulletinStore.h"

namespace platform::springboard {

using namespace platform::runtime;

namespace {
Ref<Object> sharedInstanceMessage(Object*) {
    return Ref<Object>(SBLockScreenManager::shared());
}
} // namespace

Class SBLockScreenManager::runtime_class() {
    static Class cls =
        ClassBuilder<SBLockScreenManager>("SBLockScreenManager", NSObject::runtime_class())
            .method<&SBLockScreenManager::lockUIFromSource>("lockUIFromSource:withOptions:")
            .method<&SBLockScreenManager::unlockUIFromSource>("unlockUIFromSource:withOptions:")
            .method<&SBLockScreenManager::isUILocked>("isUILocked")
            .method<&SBLockScreenManager::lockScreenViewController>("lockScreenViewController")
            .class_method<&sharedInstanceMessage>("sharedInstance")
            .get();
    return cls;
}

SBLockScreenManager* SBLockScreenManager::shared() {
    static SBLockScreenManager* manager = [] {
        auto m = make_object<SBLockScreenManager>();
        m->view_controller_ = SBLockScreenViewController::create();
        return m.leak(); // the home screen's, for its whole life
    }();
    return manager;
}

void SBLockScreenManager::lockUIFromSource(int32_t, Object*) {
    auto& store = BulletinStore::shared();
    if (store.locked())
        return;
    store.set_locked(true);
    if (on_lock_change)
        on_lock_change(true);
}

void SBLockScreenManager::unlockUIFromSource(int32_t, Object*) {
    auto& store = BulletinStore::shared();
    if (!store.locked())
        return;
    view_controller_->notificationController()->remove_list();
    store.set_locked(false);
    if (on_lock_change)
        on_lock_change(false);
}

bool SBLockScreenManager::isUILocked() const {
    return BulletinStore::shared().locked();
}

} // namespace platform::springboard
