// The Notification Center and lock-screen paths that run while the screen is up, in this process
// on the host's own classes with the tweak's groups installed: configuring Notification Center
// cells, and the half-second colour tick, both for cells configured once and after 10,000
// configurations of the same 20 live cells (the cycling list must not keep growing), and the
// lock screen's tick over 20 notifications.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchDevice.h"
#include "platform/PlatformClasses.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/lockscreen/SBLockScreenBulletinCell.h"
#include "platform/springboard/lockscreen/SBLockScreenNotificationListView.h"
#include "platform/springboard/lockscreen/SBLockScreenView.h"
#include "platform/springboard/lockscreen/SBTableViewCellDismissActionButton.h"
#include "platform/springboard/nc/NotificationCenterClasses.h"
#include "platform/springboard/nc/SBBulletinViewController.h"
#include "platform/springboard/nc/SBBulletinViewSection.h"
#include "platform/uikit/CAGradientLayer.h"
#include "settings/Loaders.h"
#include "settings/SettingsState.h"
#include "sim/device/DeviceGenerator.h"
#include "tweak/ApplicationList.h"
#include "tweak/HookGroups.h"
#include "tweak/notificationcenter/CyclingList.h"

using namespace platform::springboard;
using namespace platform::runtime;
using platform::foundation::CGRectMake;
using platform::foundation::RunLoop;
using zimtone::settings::state;

namespace {

constexpr size_t kLiveCells = 20;
const char* const kApps[] = {"com.example.zebra", "com.apple.mobilenotes", "com.apple.MobileSMS",
                             "com.apple.weather"};

// One sample device and the tweak's groups for the whole process, as in a home-screen host.
void set_up_once() {
    static bool done = [] {
        static zimtone::bench::BenchDevice device; // icons are read lazily
        zimtone::device::generate_default_device(device.root());
        platform::register_platform_classes();
        register_notification_center_classes();
        SBTableViewCellDismissActionButton::runtime_class();
        SBLockScreenBulletinCell::runtime_class();
        platform::uikit::UITableView::runtime_class();
        SBLockScreenNotificationListView::runtime_class();
        SBLockScreenView::runtime_class();
        platform::foundation::NSIndexPath::runtime_class();
        platform::foundation::NSTimer::runtime_class();
        platform::uikit::CAGradientLayer::runtime_class();
        RunLoop::main().use_virtual_clock(0);
        zimtone::tweak::cache_application_list();
        for (auto group : {zimtone::settings::Group::Banner, zimtone::settings::Group::NotificationCenter,
                           zimtone::settings::Group::Lockscreen, zimtone::settings::Group::Requests})
            zimtone::settings::apply_group(state(), group, nullptr);
        // Cycling colours: the tick recolours every live cell, its most expensive form.
        state().NotificationUnicornEnabled = true;
        state().LockscreenUnicornEnabled = true;
        zimtone::tweak::install_group(zimtone::tweak::notification_center_group());
        zimtone::tweak::install_group(zimtone::tweak::lockscreen_group());
        return true;
    }();
    (void)done;
}

std::vector<ListSection> twenty_rows() {
    std::vector<ListSection> sections;
    for (size_t app = 0; app < 4; ++app) {
        ListSection s{SBBulletinViewSection::make(kApps[app]), kApps[app], true, {}};
        for (size_t row = 0; row < kLiveCells / 4; ++row)
            s.rows.push_back({BBBulletin::make(kApps[app], "Title " + std::to_string(row), "Message"), {}});
        sections.push_back(std::move(s));
    }
    return sections;
}

// The controller whose 20 cells the tick benchmarks share, so that the second one measures the
// same cells after many more configurations.
Ref<SBBulletinViewController>& nc_controller() {
    static Ref<SBBulletinViewController> controller = [] {
        auto c = make_object<SBBulletinViewController>();
        c->tableView()->setFrame(CGRectMake(0, 0, 375, 0));
        c->show_sections(twenty_rows());
        RunLoop::main().advance(0.5); // the first tick starts the timer's cycle
        return c;
    }();
    return controller;
}

void BM_NotificationCenterConfigure20Cells(benchmark::State& state) {
    set_up_once();
    auto controller = make_object<SBBulletinViewController>();
    controller->tableView()->setFrame(CGRectMake(0, 0, 375, 0));
    auto sections = twenty_rows();
    for (auto _ : state)
        controller->show_sections(sections);
    state.SetItemsProcessed(state.iterations() * kLiveCells); // items/s: cell configurations
    // A repeating timer holds its target: until its colour timer is invalidated this controller
    // would live on, and the tick benchmarks would tick its cells too.
    auto timer = msg<Ref<Object>>(controller.get(), "colorTimer"_sel);
    msg(timer.get(), "invalidate"_sel);
}

void BM_NotificationCenterTick20CellsConfiguredOnce(benchmark::State& state) {
    set_up_once();
    nc_controller();
    for (auto _ : state)
        RunLoop::main().advance(0.5);
    state.counters["cycling_list"] = double(zimtone::tweak::notificationcenter::cell_cycling_list().size());
}

void BM_NotificationCenterTickAfter10000Configurations(benchmark::State& state) {
    set_up_once();
    auto& controller = nc_controller();
    auto sections = twenty_rows();
    for (size_t reload = 0; reload < 10000 / kLiveCells; ++reload)
        controller->show_sections(sections);
    RunLoop::main().advance(0.5); // drops what the reloads discarded
    for (auto _ : state)
        RunLoop::main().advance(0.5);
    state.counters["cycling_list"] = double(zimtone::tweak::notificationcenter::cell_cycling_list().size());
}

void BM_LockScreenTick20Notifications(benchmark::State& state) {
    set_up_once();
    auto list = platform::uikit::UIView::create<SBLockScreenNotificationListView>(CGRectMake(0, 0, 375, 667));
    for (size_t i = 0; i < kLiveCells; ++i)
        list->model()->insert_newest(SBAwayBulletinListItem::with(
            BBBulletin::make(kApps[i % 4], "Title " + std::to_string(i), "Message"), nullptr));
    list->reloadData();
    list->layoutIfNeeded();
    RunLoop::main().advance(0.5);
    for (auto _ : state)
        RunLoop::main().advance(0.5);
    msg(list.get(), "prepareForRemoval"_sel);
}

// Registration order is run order: the once-configured tick must come before the reloads.
BENCHMARK(BM_NotificationCenterConfigure20Cells);
BENCHMARK(BM_NotificationCenterTick20CellsConfiguredOnce);
BENCHMARK(BM_NotificationCenterTickAfter10000Configurations);
BENCHMARK(BM_LockScreenTick20Notifications);

} // namespace
