#include "sim/hosts/HomeScreen.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/DeviceTime.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/RunLoop.h"
#include "platform/render/ViewRenderer.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/springboard/BulletinStore.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "settings/ExcludedApps.h"
#include "sim/hosts/NotificationLog.h"
#include "sim/hosts/Screen.h"

namespace zimtone::sim {

using namespace platform::runtime;
using namespace platform::uikit;
using platform::applist::AppRecord;
using platform::foundation::CGRect;
using platform::foundation::CGRectMake;
using platform::foundation::ns;

namespace {

constexpr const char* kCarrier = "\u25CF\u25CF\u25CF\u25CF\u25CF Carrier";
constexpr const char* kBatteryText = "100%";
constexpr const char* kLabelFont = ".SFUIText-Regular";
constexpr const char* kClockFont = ".SFUIText-Semibold";

Ref<UILabel> make_label(CGRect frame, const std::string& text, double size, const char* font,
                        int64_t alignment) {
    auto label = UIView::create<UILabel>(frame);
    label->setText(ns(text).get());
    label->setFont(UIFont::fontWithName(font, size).get());
    label->setTextColor(UIColor::whiteColor().get());
    label->setTextAlignment(alignment);
    return label;
}

Ref<UIView> make_fill(CGRect frame, double alpha, double corner = 0) {
    auto view = UIView::create<UIView>(frame);
    view->setBackgroundColor(UIColor::colorWithRGBA(1, 1, 1, alpha).get());
    view->layer()->setCornerRadius(corner);
    view->setUserInteractionEnabled(false);
    return view;
}

// The time as the run loop's clock tells it, read again whenever a frame is asked for.
std::string status_time() {
    return platform::foundation::time_of_day_text(
        platform::foundation::device_time(platform::foundation::RunLoop::main().now()));
}

// The controller of the icons, and the target of their taps: it posts a notification from the
// tapped icon's app with the composer's texts.
class SBIconController : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<SBIconController>("SBIconController", NSObject::runtime_class())
                               .function<&icon_tapped>("iconTapped:")
                               .get();
        return cls;
    }

    struct Icon {
        std::string app;
        std::string name;
    };
    std::map<const UIView*, Icon> apps_of_icons;
    std::string title{kDefaultComposerTitle};
    std::string message{kDefaultComposerMessage};
    Ref<UIView> home;
    Ref<UIView> status_bar;
    Ref<UILabel> clock;

  private:
    static void icon_tapped(Object* self, Object* sender) {
        auto* controller = dynamic_cast<SBIconController*>(self);
        auto it = controller ? controller->apps_of_icons.find(dynamic_cast<UIView*>(sender))
                             : decltype(controller->apps_of_icons)::iterator{};
        if (!controller || it == controller->apps_of_icons.end())
            return;
        auto bulletin =
            platform::springboard::BBBulletin::make(it->second.app, controller->title, controller->message);
        platform::springboard::BulletinStore::shared().deliver(bulletin.get());
    }
};

SBIconController& icon_controller() {
    static auto* controller = make_object<SBIconController>().leak(); // lives as long as the process
    return *controller;
}

// One app: its rounded icon and its name under it on the picture, and a clear button over the
// icon that takes its taps.
void add_icon(UIView* picture, UIView* buttons, CGRect icon_frame, const AppRecord& app) {
    auto icon = UIView::create<UIImageView>(icon_frame);
    auto image =
        platform::applist::ALApplicationList::sharedApplicationList()->iconOfSizeForDisplayIdentifier(
            static_cast<uint64_t>(platform::applist::kSmallIconPointSize), ns(app.bundle_identifier).get());
    if (image)
        icon->setImage(image.get());
    else
        icon->setBackgroundColor(
            UIColor::colorWithRGBA(home::kBlankIconWhite, home::kBlankIconWhite, home::kBlankIconWhite, 1)
                .get());
    icon->layer()->setCornerRadius(home::kIconCorner);
    icon->setClipsToBounds(true);
    picture->addSubview(icon.get());
    CGRect name_frame = CGRectMake(icon_frame.origin.x - home::kLabelOverhang,
                                   icon_frame.origin.y + home::kIconSize + home::kLabelGap,
                                   home::kIconSize + 2 * home::kLabelOverhang, home::kLabelHeight);
    picture->addSubview(
        make_label(name_frame, app.display_name, home::kLabelFontSize, kLabelFont, NSTextAlignmentCenter)
            .get());

    auto button = UIView::create<UIButton>(icon_frame);
    button->layer()->setCornerRadius(home::kIconCorner);
    button->setClipsToBounds(true);
    button->addTargetActionForControlEvents(&icon_controller(), sel_registerName("iconTapped:"),
                                            UIControlEventTouchUpInside);
    icon_controller().apps_of_icons[button.get()] = {app.bundle_identifier, app.display_name};
    buttons->addSubview(button.get());
}

Ref<UIView> make_status_bar() {
    using namespace home;
    auto bar = UIView::create<UIView>(CGRectMake(0, 0, kScreenWidth, kStatusBarHeight));
    bar->setUserInteractionEnabled(false);
    bar->addSubview(make_label(CGRectMake(kStatusBarInset, 0, kScreenWidth / 3, kStatusBarHeight), kCarrier,
                               kStatusFontSize, kLabelFont, NSTextAlignmentLeft)
                        .get());
    auto clock = make_label(CGRectMake(kScreenWidth / 3, 0, kScreenWidth / 3, kStatusBarHeight),
                            status_time(), kStatusFontSize, kClockFont, NSTextAlignmentCenter);
    bar->addSubview(clock.get());
    icon_controller().clock = clock;
    icon_controller().status_bar = bar;

    double battery_x = kScreenWidth - kStatusBarInset - kBatteryNubWidth - kBatteryWidth;
    double battery_y = (kStatusBarHeight - kBatteryHeight) / 2;
    bar->addSubview(make_label(CGRectMake(battery_x - kBatteryTextWidth - kBatteryTextGap, 0,
                                          kBatteryTextWidth, kStatusBarHeight),
                               kBatteryText, kStatusFontSize, kLabelFont, NSTextAlignmentRight)
                        .get());
    bar->addSubview(
        make_fill(CGRectMake(battery_x, battery_y, kBatteryWidth, kBatteryHeight), 1, kBatteryCorner).get());
    bar->addSubview(
        make_fill(CGRectMake(battery_x + kBatteryWidth, (kStatusBarHeight - kBatteryNubHeight) / 2,
                             kBatteryNubWidth, kBatteryNubHeight),
                  1)
            .get());
    return bar;
}

Ref<UIView> make_page_dots(size_t pages, double centre_y) {
    using namespace home;
    double width = static_cast<double>(pages) * kPageDotSize + static_cast<double>(pages - 1) * kPageDotGap;
    auto dots = UIView::create<UIView>(
        CGRectMake((kScreenWidth - width) / 2, centre_y - kPageDotSize / 2, width, kPageDotSize));
    dots->setUserInteractionEnabled(false);
    for (size_t i = 0; i < pages; ++i)
        dots->addSubview(make_fill(CGRectMake(static_cast<double>(i) * (kPageDotSize + kPageDotGap), 0,
                                              kPageDotSize, kPageDotSize),
                                   i == 0 ? 1.0 : kOtherPageDotAlpha, kPageDotSize / 2)
                             .get());
    return dots;
}

// Icons and names change only with the installed apps, so they are drawn once into one picture,
// as the device keeps its icons' images: a frame then draws that picture instead of every icon and
// name. Clear buttons over the icons take the taps; the status bar stays live for its clock.
Ref<UIView> make_home_screen() {
    using namespace home;
    const double dock_top = kScreenHeight - kDockHeight;
    const CGRect whole = CGRectMake(0, 0, kScreenWidth, kScreenHeight);
    auto arrangement =
        arrange_home_screen(platform::applist::ALApplicationList::sharedApplicationList()->apps());
    auto picture = UIView::create<UIView>(whole);
    auto view = UIView::create<UIView>(whole);

    // The pages side by side; the first is on screen.
    const CGRect pages_frame = CGRectMake(0, 0, kScreenWidth, dock_top);
    auto pages = UIView::create<UIView>(pages_frame);
    pages->setClipsToBounds(true);
    auto page_buttons = UIView::create<UIView>(pages_frame);
    page_buttons->setClipsToBounds(true);
    for (size_t i = 0; i < arrangement.pages.size(); ++i) {
        CGRect frame = page_icon_frame(i);
        frame.origin.x += static_cast<double>(i / kIconsPerPage) * kScreenWidth;
        add_icon(pages.get(), page_buttons.get(), frame, arrangement.pages[i]);
    }
    picture->addSubview(pages.get());
    picture->addSubview(make_page_dots(arrangement.page_count(), dock_top - kPageDotsAboveDock).get());

    const CGRect dock_frame = CGRectMake(0, dock_top, kScreenWidth, kDockHeight);
    picture->addSubview(make_fill(dock_frame, kDockAlpha).get());
    auto dock = UIView::create<UIView>(dock_frame);
    auto dock_buttons = UIView::create<UIView>(dock_frame);
    for (size_t slot = 0; slot < arrangement.dock.size(); ++slot)
        add_icon(dock.get(), dock_buttons.get(), dock_icon_frame(slot, arrangement.dock.size()),
                 arrangement.dock[slot]);
    picture->addSubview(dock.get());

    picture->layoutIfNeeded();
    auto drawn = platform::render::render_view_image(picture.get(), {kScreenScale});
    if (drawn) {
        auto image_view = UIView::create<UIImageView>(whole);
        image_view->setImage(UIImage::withImage(std::move(*drawn)).get());
        image_view->setUserInteractionEnabled(false);
        view->addSubview(image_view.get());
    } else {
        std::fprintf(stderr, "springboard: the home screen is drawn live (%s)\n", drawn.error().c_str());
        picture->setUserInteractionEnabled(false);
        view->addSubview(picture.get());
    }
    view->addSubview(page_buttons.get());
    view->addSubview(dock_buttons.get());
    view->addSubview(make_status_bar().get());
    icon_controller().home = view;
    return view;
}

// The status bar's clock moves on by itself: a frame asked for after the minute turned must
// show the new time.
void update_clock() {
    auto& clock = icon_controller().clock;
    std::string now = status_time();
    const std::string* shown = platform::foundation::string_of(clock->text());
    if (!shown || *shown != now) {
        clock->setText(ns(now).get());
        mark_screen_changed();
    }
}

bool is_utf8(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

CommandResult set_composer(const std::vector<std::string>& args) {
    auto& controller = icon_controller();
    if (args.size() == 2) {
        if (args[0].empty() || args[1].empty())
            return CommandResult::failure("composer takes a title and a message, neither empty");
        if (!is_utf8(args[0]) || !is_utf8(args[1]))
            return CommandResult::failure("composer texts must be UTF-8");
        controller.title = args[0];
        controller.message = args[1];
    } else if (!args.empty()) {
        return CommandResult::failure("composer takes a title and a message, or nothing to show them");
    }
    return CommandResult::success({{"title", controller.title}, {"message", controller.message}});
}

// An app's small icon as the log carries it, so that the page has one way to show an icon.
CommandResult app_icon(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return CommandResult::failure("icon takes an app identifier");
    if (const auto* app = platform::applist::ALApplicationList::sharedApplicationList()->find(args[0]))
        return CommandResult::success({{"app", app->bundle_identifier}, {"icon", small_icon_base64(*app)}});
    if (!is_utf8(args[0]))
        return CommandResult::failure("icon takes an app identifier");
    return CommandResult::failure("no installed app has the bundle identifier '" + args[0] +
                                  "' (see 'apps')");
}

} // namespace

// The same identifiers the Settings pane leaves out of its app list, so the picker and the pane agree.
bool is_home_screen_app(const std::string& bundle_identifier) {
    auto listed = [&](const auto& identifiers) {
        return std::find(identifiers.begin(), identifiers.end(), bundle_identifier) != identifiers.end();
    };
    return !listed(zimtone::settings::kExcludedSystemApps) && !listed(zimtone::settings::kExcludedByPaneOnly);
}

HomeArrangement arrange_home_screen(const std::vector<AppRecord>& installed) {
    HomeArrangement arrangement;
    std::vector<AppRecord> shown;
    std::copy_if(installed.begin(), installed.end(), std::back_inserter(shown),
                 [](const AppRecord& app) { return is_home_screen_app(app.bundle_identifier); });
    for (const char* preferred : home::kDockPreferred) {
        auto it = std::find_if(shown.begin(), shown.end(),
                               [&](const AppRecord& app) { return app.bundle_identifier == preferred; });
        if (it != shown.end()) {
            arrangement.dock.push_back(*it);
            shown.erase(it);
        }
    }
    while (arrangement.dock.size() < home::kDockApps && !shown.empty()) {
        arrangement.dock.push_back(shown.front());
        shown.erase(shown.begin());
    }
    arrangement.pages = std::move(shown);
    return arrangement;
}

void show_home_screen_for_lock(bool locked) {
    auto& controller = icon_controller();
    if (!controller.home)
        return;
    controller.home->setHidden(locked);
    // The lock screen's big clock tells the time; its status bar keeps carrier and battery only.
    controller.clock->setHidden(locked);
    if (locked)
        screen()->addSubview(controller.status_bar.get());
    else
        controller.home->addSubview(controller.status_bar.get());
}

CGRect page_icon_frame(size_t index) {
    using namespace home;
    size_t on_page = index % kIconsPerPage;
    double column_pitch = (kScreenWidth - 2 * kSideMargin - kIconSize) / (kColumns - 1);
    return CGRectMake(kSideMargin + static_cast<double>(on_page % kColumns) * column_pitch,
                      kStatusBarHeight + kGridTop + static_cast<double>(on_page / kColumns) * kRowPitch,
                      kIconSize, kIconSize);
}

CGRect dock_icon_frame(size_t slot, size_t dock_count) {
    using namespace home;
    // A full dock uses the page's columns; a shorter one spreads its icons evenly.
    double pitch = dock_count >= static_cast<size_t>(kColumns)
                       ? (kScreenWidth - 2 * kSideMargin - kIconSize) / (kColumns - 1)
                       : kScreenWidth / static_cast<double>(dock_count == 0 ? 1 : dock_count);
    double first = dock_count >= static_cast<size_t>(kColumns) ? kSideMargin : (pitch - kIconSize) / 2;
    return CGRectMake(first + static_cast<double>(slot) * pitch, kDockIconTop, kIconSize, kIconSize);
}

void set_up_home_screen(HostProcess& host) {
    SBIconController::runtime_class();
    UIButton::runtime_class();
    UILabel::runtime_class();
    screen()->addSubview(make_home_screen().get());
    add_frame_check(update_clock);
    add_dump_detail([](const UIView& view, nlohmann::json& entry) {
        const auto& icons = icon_controller().apps_of_icons;
        if (auto it = icons.find(&view); it != icons.end()) {
            entry["app"] = it->second.app;
            entry["name"] = it->second.name;
        }
    });
    host.add_command("composer",
                     "composer [TITLE MESSAGE]  (what a tap on an app's icon posts; nothing shows the texts)",
                     set_composer);
    host.add_command("icon", "icon APP  (the app's small icon as base64 PNG, empty when it has none)",
                     app_icon);
}

} // namespace zimtone::sim
