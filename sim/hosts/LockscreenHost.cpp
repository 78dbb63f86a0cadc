// The Lockscreen surface of its host process: host classes and commands. While the interface is
// locked, the lock screen covers the screen and every delivered bulletin joins its list.
#include "platform/foundation/NSIndexPath.h"
#include "platform/springboard/BulletinStore.h"
#include "platform/springboard/lockscreen/SBLockScreenBulletinCell.h"
#include "platform/springboard/lockscreen/SBLockScreenManager.h"
#include "sim/hosts/HomeScreen.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/SurfaceHosts.h"

namespace zimtone::sim {

using namespace platform::runtime;
using namespace platform::springboard;

namespace {

constexpr int32_t kCommandSource = 1;

void register_classes() {
    platform::foundation::NSIndexPath::runtime_class();
    platform::uikit::UITableView::runtime_class();
    BBObserver::runtime_class();
    SBAwayBulletinListItem::runtime_class();
    SBLockScreenNotificationModel::runtime_class();
    SBTableViewCellDismissActionButton::runtime_class();
    SBLockScreenBulletinCell::runtime_class();
    SBLockScreenNotificationListView::runtime_class();
    SBLockScreenView::runtime_class();
    SBLockScreenNotificationListController::runtime_class();
    SBLockScreenViewController::runtime_class();
    SBLockScreenManager::runtime_class();
}

nlohmann::json lock_state() {
    return {{"locked", SBLockScreenManager::shared()->isUILocked()}};
}

} // namespace

void set_up_lockscreen_host(HostProcess& host) {
    register_classes();
    auto* manager = SBLockScreenManager::shared();
    manager->on_lock_change = [manager](bool locked) {
        SBLockScreenView* lock_screen = manager->lockScreenViewController()->view();
        if (!locked) {
            lock_screen->removeFromSuperview();
            show_home_screen_for_lock(false);
            return;
        }
        lock_screen->setFrame(screen()->bounds());
        screen()->addSubview(lock_screen);
        show_home_screen_for_lock(true);
    };
    BulletinStore::shared().add_listener([manager](BBBulletin* bulletin) {
        if (manager->isUILocked())
            manager->lockScreenViewController()->notificationController()->add_bulletin(bulletin);
    });
    add_screen_refresh([manager] {
        if (auto* list = manager->lockScreenViewController()->notificationController()->list_view();
            list && list->superview() && manager->isUILocked())
            list->reloadData();
    });

    host.add_command("lock", "lock  (lock the interface: new bulletins go to the lock screen)",
                     [manager](const std::vector<std::string>& args) {
                         if (!args.empty())
                             return CommandResult::failure("lock takes no arguments");
                         Object* no_options = nullptr;
                         msg(manager, "lockUIFromSource:withOptions:"_sel, kCommandSource, no_options);
                         return CommandResult::success(lock_state());
                     });
    host.add_command("unlock", "unlock  (take the lock screen and its notifications down)",
                     [manager](const std::vector<std::string>& args) {
                         if (!args.empty())
                             return CommandResult::failure("unlock takes no arguments");
                         Object* no_options = nullptr;
                         msg(manager, "unlockUIFromSource:withOptions:"_sel, kCommandSource, no_options);
                         return CommandResult::success(lock_state());
                     });
    host.add_command("lockscreen", "lockscreen clear  (remove the lock-screen notification list)",
                     [manager](const std::vector<std::string>& args) {
                         if (args.size() != 1 || args[0] != "clear")
                             return CommandResult::failure("lockscreen takes one word: clear");
                         bool removed =
                             manager->lockScreenViewController()->notificationController()->remove_list();
                         return CommandResult::success({{"removed", removed}});
                     });
}

} // namespace zimtone::sim
