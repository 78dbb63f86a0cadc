// The home screen's input: its gestures (Notification Center, banners, the lock screen), the Home
// and Sleep/Wake buttons, and the dark screen of a sleeping phone.
#include "platform/springboard/BannerActions.h"
#include "platform/springboard/BulletinStore.h"
#include "platform/springboard/SBBannerController.h"
#include "platform/springboard/lockscreen/SBLockScreenBulletinCell.h"
#include "platform/springboard/lockscreen/SBLockScreenManager.h"
#include "sim/hosts/CommandLine.h"
#include "sim/hosts/HostRoleName.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/SurfaceControls.h"
#include "sim/hosts/TouchInput.h"

namespace zimtone::sim {

using namespace platform::springboard;
using namespace platform::runtime;
using nlohmann::json;
using platform::foundation::CGRectMake;
using platform::uikit::UIColor;
using platform::uikit::UIView;

namespace {

constexpr int32_t kButtonSource = 2;
// The app whose notifications offer a quick reply, and the action that opens it.
constexpr const char* kMessagesApp = "com.apple.MobileSMS";
constexpr const char* kReplyAction = "Reply";

// The phone's own state beyond its surfaces; the home screen's for its whole life.
struct Phone {
    bool asleep{false};
    Ref<UIView> darkness; // covers the screen while asleep
    std::string opened;   // the app a notification opened last
};

Phone& phone() {
    static auto* shared = new Phone;
    return *shared;
}

SBLockScreenManager* lock_manager() {
    return SBLockScreenManager::shared();
}

bool locked() {
    return lock_manager()->isUILocked();
}

std::vector<Ref<UIView>> lock_screen_cells() {
    auto* list = lock_manager()->lockScreenViewController()->view()->notificationListView();
    if (!list || !list->superview() || !list->tableView())
        return {};
    return list->tableView()->shown_cells();
}

std::string app_of_lock_screen_cell(size_t index) {
    auto cells = lock_screen_cells();
    auto* list = lock_manager()->lockScreenViewController()->view()->notificationListView();
    if (index >= cells.size() || !list)
        return {};
    auto path = list->tableView()->indexPathForCell(cells[index].get());
    auto* item = list->model()->listItemAtIndexPath(path.get());
    auto* bulletin = item ? item->activeBulletin() : nullptr;
    return bulletin ? BBBulletin::text(bulletin->sectionID()) : std::string();
}

std::vector<Ref<SBNotificationVibrantButton>> banner_buttons() {
    std::vector<Ref<SBNotificationVibrantButton>> buttons;
    auto* banner = SBBannerController::shared().banner_view();
    auto* row = banner ? banner->pullDownView() : nullptr;
    if (!row)
        return buttons;
    for (const auto& view : row->subview_list())
        if (auto* button = dynamic_cast<SBNotificationVibrantButton*>(view.get()))
            buttons.emplace_back(button);
    return buttons;
}

const BBBulletin* banner_bulletin() {
    auto* context = SBBannerController::shared().bannerContext();
    auto item = context ? context->item() : nullptr;
    return item ? item->bulletin() : nullptr;
}

GestureScene scene() {
    screen()->layoutIfNeeded();
    GestureScene scene;
    scene.asleep = phone().asleep;
    scene.locked = locked();
    scene.notification_center_open = notification_center_is_open();
    if (auto* banner = SBBannerController::shared().banner_view()) {
        scene.banner = rect_on_screen(banner);
        scene.banner_has_actions = banner->pullDownView() != nullptr;
        scene.banner_pulled_down = banner->isPulledDown();
        if (scene.banner_pulled_down)
            for (const auto& button : banner_buttons())
                scene.banner_actions.push_back(rect_on_screen(button.get()));
    }
    if (scene.locked)
        for (const auto& cell : lock_screen_cells())
            scene.lock_notifications.push_back(rect_on_screen(cell.get()));
    for (const auto& row : notification_center_rows())
        scene.notification_rows.push_back(row.rect);
    return scene;
}

void unlock() {
    Object* no_options = nullptr;
    msg(lock_manager(), "unlockUIFromSource:withOptions:"_sel, kButtonSource, no_options);
}

void lock() {
    Object* no_options = nullptr;
    msg(lock_manager(), "lockUIFromSource:withOptions:"_sel, kButtonSource, no_options);
}

void wake() {
    phone().asleep = false;
    if (phone().darkness)
        phone().darkness->removeFromSuperview();
}

void go_dark() {
    phone().asleep = true;
    if (!phone().darkness) {
        phone().darkness = UIView::create<UIView>(CGRectMake(0, 0, kScreenWidth, kScreenHeight));
        phone().darkness->setBackgroundColor(UIColor::blackColor().get());
    }
    screen()->addSubview(phone().darkness.get()); // in front of everything, moved there if it was
}

json banner_action(size_t index) {
    const BBBulletin* bulletin = banner_bulletin();
    auto titles =
        bulletin ? banner_action_titles(BBBulletin::text(bulletin->sectionID())) : std::vector<std::string>{};
    if (!bulletin || index >= titles.size())
        return {{"nothing", true}};
    const std::string app = BBBulletin::text(bulletin->sectionID());
    json answer = {{"action", titles[index]}, {"app", app}};
    if (app == kMessagesApp && titles[index] == kReplyAction) {
        answer["follow"] = {{"role", role_name(HostRoleName::messages)},
                            {"command", "reply " + quote_word(BBBulletin::text(bulletin->title())) + " " +
                                            quote_word(BBBulletin::text(bulletin->message()))}};
        answer["show"] = role_name(HostRoleName::messages);
    }
    SBBannerController::shared().dismiss(kBannerDismissedForOpening);
    return answer;
}

// Opening an app is all the phone shows of it here: it remembers which.
json open_app(const std::string& app) {
    phone().opened = app;
    return {{"opened", app}};
}

json open_notification_center_row(size_t index) {
    auto rows = notification_center_rows();
    if (index >= rows.size())
        return {{"nothing", true}};
    close_notification_center();
    json answer = open_app(rows[index].app);
    answer["notificationCenter"] = false;
    return answer;
}

json perform(const RecognisedGesture& gesture) {
    auto& banners = SBBannerController::shared();
    switch (gesture.gesture) {
    case Gesture::OpenNotificationCenter:
        open_notification_center();
        return {{"notificationCenter", true}};
    case Gesture::CloseNotificationCenter:
        close_notification_center();
        return {{"notificationCenter", false}};
    case Gesture::DismissBanner:
        banners.dismiss(kBannerDismissedByUser);
        return {{"waiting", banners.waiting()}};
    case Gesture::OpenBanner: {
        const BBBulletin* bulletin = banner_bulletin();
        json answer = open_app(bulletin ? BBBulletin::text(bulletin->sectionID()) : std::string());
        banners.dismiss(kBannerDismissedForOpening);
        return answer;
    }
    case Gesture::PullDownBanner: {
        json titles = json::array();
        if (banners.pull_down())
            if (const BBBulletin* bulletin = banner_bulletin())
                titles = banner_action_titles(BBBulletin::text(bulletin->sectionID()));
        return {{"actions", titles}};
    }
    case Gesture::BannerAction:
        return banner_action(gesture.index);
    case Gesture::Unlock:
        unlock();
        return {{"locked", locked()}};
    case Gesture::OpenLockScreenNotification: {
        json answer = open_app(app_of_lock_screen_cell(gesture.index));
        unlock();
        answer["locked"] = locked();
        return answer;
    }
    case Gesture::OpenNotificationCenterNotification:
        return open_notification_center_row(gesture.index);
    case Gesture::None:
        break;
    }
    return {{"nothing", true}};
}

CommandResult home() {
    if (phone().asleep) {
        wake();
        return CommandResult::success({{"asleep", false}, {"locked", locked()}});
    }
    if (locked())
        return CommandResult::success({{"nothing", true}, {"locked", true}});
    if (notification_center_is_open()) {
        close_notification_center();
        return CommandResult::success({{"notificationCenter", false}});
    }
    // A banner pulled down to its actions is put away with the rest.
    if (auto* banner = SBBannerController::shared().banner_view(); banner && banner->isPulledDown()) {
        SBBannerController::shared().dismiss(kBannerDismissedByUser);
        return CommandResult::success({{"banner", "dismissed"}});
    }
    return CommandResult::success({{"nothing", true}});
}

CommandResult sleep_wake() {
    if (phone().asleep) {
        wake();
        return CommandResult::success({{"asleep", false}, {"locked", locked()}});
    }
    if (notification_center_is_open())
        close_notification_center();
    lock();
    go_dark();
    return CommandResult::success({{"asleep", true}, {"locked", locked()}});
}

// The phone's state on the screen's own entry of the dump.
void add_phone_details(const UIView& view, json& entry) {
    if (&view != screen())
        return;
    auto* banner = SBBannerController::shared().banner_view();
    entry["phone"] = {{"asleep", phone().asleep},
                      {"locked", locked()},
                      {"notificationCenter", notification_center_is_open()},
                      {"banner", banner ? json({{"pulledDown", banner->isPulledDown()}}) : json(nullptr)},
                      {"opened", phone().opened.empty() ? json(nullptr) : json(phone().opened)}};
}

} // namespace

TouchSurface springboard_touch_surface() {
    add_dump_detail(add_phone_details);
    // Unlocked by a command or the page's control, the phone is awake again.
    auto* manager = lock_manager();
    manager->on_lock_change = [previous = manager->on_lock_change](bool now_locked) {
        if (previous)
            previous(now_locked);
        if (!now_locked)
            wake();
        else if (phone().asleep)
            go_dark();
    };
    // A notification lights a sleeping phone's lock screen up.
    BulletinStore::shared().add_listener([](BBBulletin*) {
        if (phone().asleep)
            wake();
    });
    TouchSurface surface;
    surface.scene = scene;
    surface.perform = perform;
    surface.home = home;
    surface.sleep = sleep_wake;
    surface.asleep = [] { return phone().asleep; };
    return surface;
}

} // namespace zimtone::sim
