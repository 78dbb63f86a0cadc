// The Notification Center hooks on small scenes of the host's own classes, in this process:
// the tweak's group is installed once, and each test sets the settings it needs.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "colour/bridge/ColourServices.h"
#include "platform/PlatformClasses.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/nc/NotificationCenterClasses.h"
#include "platform/springboard/nc/SBBulletinViewController.h"
#include "platform/springboard/nc/SBBulletinViewSection.h"
#include "platform/springboard/nc/SBNCDateSectionInfo.h"
#include "platform/springboard/nc/SBNCSectionInfo.h"
#include "platform/springboard/nc/SBNCTableViewController.h"
#include "platform/springboard/nc/SBNotificationCenterHeaderView.h"
#include "platform/springboard/nc/SBNotificationsBulletinCell.h"
#include "settings/Loaders.h"
#include "sim/device/DeviceGenerator.h"
#include "tests/support/TempDevice.h"
#include "tweak/ApplicationList.h"
#include "tweak/HookGroups.h"
#include "tweak/notificationcenter/CyclingList.h"

using namespace platform::springboard;
using namespace platform::runtime;
using platform::foundation::CGRectMake;
using platform::foundation::ns;
using platform::foundation::RunLoop;
using platform::uikit::UIColor;
using platform::uikit::UITableViewCell;
using platform::uikit::UIView;
using zimtone::colour::Colour;
using zimtone::settings::state;
namespace nc = zimtone::tweak::notificationcenter;

namespace {

constexpr const char* kDarkApp = "com.example.zebra";      // white automatic text
constexpr const char* kLightApp = "com.apple.mobilenotes"; // black automatic text
constexpr const char* kNoIconApp = "com.example.plaintext";
// What the hex codec makes of "FF": it divides by 254 in single precision.
constexpr double kFF = static_cast<double>(255.0f / 254.0f);
const Colour kWhite{1, 1, 1, 1};
const Colour kBlack{0, 0, 0, 1};
// The host's own colours, which untouched views keep.
const Colour kHostTitle{1, 1, 1, 1};

class HostWithTweak : public ::testing::Environment {
  public:
    void SetUp() override {
        // Icons are read lazily, so the device lives until every test has run.
        device_ = std::make_unique<zimtone::testing::TempDevice>();
        zimtone::device::generate_default_device(device_->root());
        platform::register_platform_classes();
        register_notification_center_classes();
        RunLoop::main().use_virtual_clock(0);
        zimtone::tweak::cache_application_list();
        zimtone::tweak::install_group(zimtone::tweak::notification_center_group());
    }

    void TearDown() override { device_.reset(); }

  private:
    std::unique_ptr<zimtone::testing::TempDevice> device_;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new HostWithTweak);

std::optional<Colour> background(const UIView* view) {
    auto* c = view ? view->backgroundColor() : nullptr;
    return c ? std::optional(c->colour()) : std::nullopt;
}

std::optional<Colour> header_background(const Ref<UIView>& header) {
    return background(dynamic_cast<SBNotificationCenterHeaderView*>(header.get())->contentView());
}

Colour title_colour(const Ref<UIView>& header) {
    return dynamic_cast<SBNotificationCenterHeaderView*>(header.get())->titleLabel()->textColor()->colour();
}

Colour with_alpha(Colour c, double alpha) {
    c.alpha = alpha;
    return c;
}

bool on_256th(double channel) {
    double n = channel * 256;
    return n == std::floor(n) && n >= 0 && n <= 255;
}

ListRow bulletin_row(const std::string& app, const std::string& title) {
    return {BBBulletin::make(app, title, "message"), {}};
}

ListSection app_section(const std::string& app, size_t rows, bool clear_button = true) {
    ListSection s{SBBulletinViewSection::make(app), app, clear_button, {}};
    for (size_t i = 0; i < rows; ++i)
        s.rows.push_back(bulletin_row(app, "row " + std::to_string(i)));
    return s;
}

ListSection today_section(const std::string& identifier, size_t rows, bool clear_button = false) {
    ListSection s{SBNCSectionInfo::make(identifier), identifier, clear_button, {}};
    for (size_t i = 0; i < rows; ++i)
        s.rows.push_back({nullptr, "widget " + std::to_string(i)});
    return s;
}

template <class C> Ref<C> controller_showing(std::vector<ListSection> sections) {
    auto controller = make_object<C>();
    controller->tableView()->setFrame(CGRectMake(0, 0, 375, 0));
    controller->show_sections(std::move(sections));
    return controller;
}

Ref<Object> timer_of(Object* controller) {
    return msg<Ref<Object>>(controller, "colorTimer"_sel);
}

class NcHooks : public ::testing::Test {
  protected:
    void SetUp() override {
        for (auto group : {zimtone::settings::Group::Banner, zimtone::settings::Group::NotificationCenter,
                           zimtone::settings::Group::Lockscreen, zimtone::settings::Group::Requests})
            zimtone::settings::apply_group(state(), group, nullptr);
        state().per_app_colours = nullptr; // a load without the key keeps earlier colours
    }

    // Fixed colours for the two sample apps, so that backgrounds are known to the bit.
    void fix_app_colours() {
        auto colours = platform::foundation::NSMutableDictionary::create();
        colours->set(kDarkApp, ns("FF0000"));
        colours->set(kLightApp, ns("0000FF"));
        state().per_app_colours = colours;
        state().SpecificAppColor = true;
        state().AllowSaturationNotification = false;
    }
};

} // namespace

TEST_F(NcHooks, VibrantBackdropIsRemovedAtCreationOnlyWhileEnabled) {
    for (bool enabled : {true, false}) {
        state().NotificationCenterEnabled = enabled;
        for (Class cls : {SBFVibrantTableViewHeaderFooterView::runtime_class(),
                          SBNotificationCenterHeaderView::runtime_class()}) {
            auto made =
                msg<Ref<Object>>(class_createInstance(cls), "initWithFrame:"_sel, CGRectMake(0, 0, 375, 32));
            auto* view = dynamic_cast<SBFVibrantTableViewHeaderFooterView*>(made.get());
            ASSERT_NE(view, nullptr);
            ASSERT_NE(view->backdrop(), nullptr);
            EXPECT_EQ(view->backdrop()->superview() == nullptr, enabled) << cls->name();
        }
    }
}

TEST_F(NcHooks, ClearButtonFlagFollowsTheHostSetter) {
    auto header = UIView::create<SBNotificationCenterHeaderView>({});
    EXPECT_FALSE(msg<bool>(header, "sectionHasClearButton"_sel));
    for (bool has : {true, false, true}) {
        msg(header, "setHasClearButton:"_sel, has);
        EXPECT_EQ(msg<bool>(header, "sectionHasClearButton"_sel), has);
        EXPECT_EQ(header->hasClearButton(), has);
    }
}

TEST_F(NcHooks, HeadersTakeThePerAppColourAndTheIconsTextColour) {
    fix_app_colours();
    state().NotificationCenterHeaderAlpha = 0.5;
    auto c =
        controller_showing<SBBulletinViewController>({app_section(kDarkApp, 1), app_section(kLightApp, 1)});
    auto& headers = c->tableView()->shown_headers();
    ASSERT_EQ(headers.size(), 2u);
    EXPECT_EQ(header_background(headers[0]), (Colour{kFF, 0, 0, 0.5}));
    EXPECT_EQ(title_colour(headers[0]), kWhite);
    EXPECT_EQ(header_background(headers[1]), (Colour{0, 0, kFF, 0.5}));
    EXPECT_EQ(title_colour(headers[1]), kBlack);

    state().NotificationCenterHeaderAlpha = 0.0;
    state().AutoTextColor = false;
    c->show_sections({app_section(kLightApp, 1)});
    EXPECT_EQ(header_background(c->tableView()->shown_headers()[0]), (Colour{0, 0, kFF, 0}));
    // The reused header keeps whatever title colour it had; the hook leaves it alone.
    EXPECT_NE(title_colour(c->tableView()->shown_headers()[0]), kBlack);
}

TEST_F(NcHooks, BothControllersApplyTheirTrimRuleToHeadersAndCells) {
    fix_app_colours();
    struct Row {
        const char* name;
        bool today;
        std::string identifier;
        std::optional<Colour> header; // at full header opacity
    };
    const std::string dark = kDarkApp;
    const Row rows[] = {
        {"today, three parts", true, dark, Colour{kFF, 0, 0, 1}},
        {"today, four parts", true, dark + ".widget", Colour{kFF, 0, 0, 1}},
        {"notifications, four parts", false, dark + ".widget", Colour{kFF, 0, 0, 1}},
        // No app has these identifiers: the colour of no icon, opaque black.
        {"today, five parts", true, dark + ".widget.x", kBlack},
        {"notifications, five parts", false, dark + ".widget.x", kBlack},
        {"today, six parts", true, dark + ".a.b.c", kBlack},
    };
    for (auto& row : rows) {
        Ref<NotificationListController> c;
        if (row.today)
            c = controller_showing<SBNCTableViewController>({today_section(row.identifier, 1)});
        else
            c = controller_showing<SBBulletinViewController>({app_section(row.identifier, 1)});
        ASSERT_EQ(c->tableView()->shown_headers().size(), 1u) << row.name;
        EXPECT_EQ(header_background(c->tableView()->shown_headers()[0]), row.header) << row.name;
        EXPECT_EQ(background(c->tableView()->shown_cells()[0].get()), with_alpha(*row.header, 0.8))
            << row.name;
    }
}

TEST_F(NcHooks, DateSectionsTakeTheColourOfSomeAppWithAnIcon) {
    state().AllowSaturationNotification = false;
    std::vector<Colour> candidates{kBlack}; // no app list at all gives the colour of no icon
    for (auto& app : zimtone::device::default_apps()) {
        auto icon = zimtone::tweak::small_icon(ns(app.bundle_identifier).get());
        if (icon)
            candidates.push_back(zimtone::colour::bridge::getDominantColor(icon.get())->colour());
    }
    for (int i = 0; i < 5; ++i) {
        auto c = controller_showing<SBNCTableViewController>(
            {{SBNCDateSectionInfo::make(0), "Today", false, {{nullptr, "summary"}}}});
        auto colour = header_background(c->tableView()->shown_headers()[0]);
        ASSERT_TRUE(colour.has_value());
        EXPECT_NE(std::find(candidates.begin(), candidates.end(), *colour), candidates.end());
    }
}

TEST_F(NcHooks, EffectTodayOffColoursOnlyClearButtonHeadersAndThreePartCells) {
    fix_app_colours();
    state().EffectToday = false;
    state().NotificationUnicornEnabled = true;
    const std::string dark = kDarkApp;
    auto c = controller_showing<SBBulletinViewController>(
        {app_section(dark, 1, false), app_section(dark, 1, true), app_section(dark + ".widget", 1, true)});
    auto& headers = c->tableView()->shown_headers();
    auto& cells = c->tableView()->shown_cells();
    EXPECT_EQ(header_background(headers[0]), std::nullopt);
    EXPECT_EQ(title_colour(headers[0]), kHostTitle);
    EXPECT_EQ(header_background(headers[1]), (Colour{kFF, 0, 0, 1}));
    // Headers with a clear button keep the trim rule.
    EXPECT_EQ(header_background(headers[2]), (Colour{kFF, 0, 0, 1}));
    EXPECT_EQ(background(cells[0].get()), (Colour{kFF, 0, 0, 0.8}));
    EXPECT_EQ(background(cells[1].get()), (Colour{kFF, 0, 0, 0.8}));
    EXPECT_EQ(background(cells[2].get()), std::nullopt);

    // The four-part cell was registered for cycling all the same.
    RunLoop::main().advance(0.5);
    ASSERT_TRUE(background(cells[2].get()).has_value());
    EXPECT_EQ(background(cells[2].get())->alpha, state().NotificationCenterAlpha);
}

TEST_F(NcHooks, RowsFadeByATenthWhatEverTheCellOpacity) {
    fix_app_colours();
    state().NotificationCenterAlpha = 0.25;
    auto c = controller_showing<SBBulletinViewController>({app_section(kDarkApp, 11)});
    auto& cells = c->tableView()->shown_cells();
    ASSERT_EQ(cells.size(), 11u);
    const double expected[] = {0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1, 0.0, -0.1, -0.2};
    for (size_t row = 0; row < cells.size(); ++row) {
        auto colour = background(cells[row].get());
        ASSERT_TRUE(colour.has_value()) << row;
        EXPECT_EQ(with_alpha(*colour, 1), (Colour{kFF, 0, 0, 1})) << row;
        EXPECT_NEAR(colour->alpha, expected[row], 1e-15) << row;
    }
    state().NotificationLayerEnabled = false;
    c->show_sections({app_section(kDarkApp, 3)});
    for (auto& cell : c->tableView()->shown_cells())
        EXPECT_EQ(background(cell.get()), (Colour{kFF, 0, 0, 0.25}));
}

TEST_F(NcHooks, BulletinCellsTakeTheIconsTextColourOtherCellsKeepTheirs) {
    fix_app_colours();
    const std::string light = kLightApp;
    auto c = controller_showing<SBNCTableViewController>(
        {{SBNCSectionInfo::make(light), "Notes", true, {bulletin_row(light, "t"), {nullptr, "widget"}}}});
    auto& cells = c->tableView()->shown_cells();
    ASSERT_EQ(cells.size(), 2u);
    auto* bulletin = dynamic_cast<SBNotificationsBulletinCell*>(cells[0].get());
    ASSERT_NE(bulletin, nullptr);
    // Background from the fixed colour, texts from the light icon.
    EXPECT_EQ(background(bulletin), (Colour{0, 0, kFF, 0.8}));
    for (auto* label : {bulletin->primaryLabel(), bulletin->subtitleLabel(), bulletin->secondaryLabel(),
                        bulletin->eventDateLabel(), bulletin->relevanceDateLabel()})
        EXPECT_EQ(label->textColor()->colour(), kBlack);
    EXPECT_EQ(bulletin->eventDateLabel()->layer()->compositingFilter(), nullptr);
    EXPECT_EQ(bulletin->relevanceDateLabel()->layer()->compositingFilter(), nullptr);

    auto* plain = dynamic_cast<UITableViewCell*>(cells[1].get());
    EXPECT_EQ(background(plain), (Colour{0, 0, kFF, 0.7}));
    EXPECT_EQ(plain->textLabel()->textColor()->colour(), kWhite);

    state().AutoTextColor = false;
    auto fresh = controller_showing<SBNCTableViewController>({today_section(light, 0)});
    fresh->show_sections({{SBNCSectionInfo::make(light), "Notes", true, {bulletin_row(light, "t")}}});
    auto* untouched = dynamic_cast<SBNotificationsBulletinCell*>(fresh->tableView()->shown_cells()[0].get());
    EXPECT_EQ(untouched->primaryLabel()->textColor()->colour(), kWhite);
    EXPECT_NE(untouched->eventDateLabel()->layer()->compositingFilter(), nullptr);
}

TEST_F(NcHooks, NoPerAppEntryFallsBackToTheIcon) {
    state().SpecificAppColor = true; // but no dictionary entries
    state().AllowSaturationNotification = false;
    auto c =
        controller_showing<SBBulletinViewController>({app_section(kDarkApp, 1), app_section(kNoIconApp, 1)});
    auto icon = zimtone::tweak::small_icon(ns(kDarkApp).get());
    Colour dominant = zimtone::colour::bridge::getDominantColor(icon.get())->colour();
    EXPECT_EQ(header_background(c->tableView()->shown_headers()[0]), dominant);
    EXPECT_EQ(header_background(c->tableView()->shown_headers()[1]), kBlack);
}

TEST_F(NcHooks, OnlyHeadersLeavesCellsAsTheHostMadeThem) {
    fix_app_colours();
    state().OnlyHeaders = true;
    state().NotificationUnicornEnabled = true;
    auto c = controller_showing<SBBulletinViewController>({app_section(kDarkApp, 2)});
    EXPECT_EQ(header_background(c->tableView()->shown_headers()[0]), (Colour{kFF, 0, 0, 1}));
    RunLoop::main().advance(0.5);
    for (auto& cell : c->tableView()->shown_cells())
        EXPECT_EQ(background(cell.get()), std::nullopt);
    // The header was registered and cycles.
    EXPECT_EQ(header_background(c->tableView()->shown_headers()[0])->alpha, state().NotificationCenterAlpha);
    EXPECT_NE(timer_of(c.get()), nullptr);
}

TEST_F(NcHooks, OneTimerPerControllerFromItsFirstRegistration) {
    state().NotificationUnicornEnabled = true;
    auto today = controller_showing<SBNCTableViewController>({});
    auto notifications = controller_showing<SBBulletinViewController>({});
    EXPECT_EQ(timer_of(today.get()), nullptr);
    today->show_sections({today_section(kDarkApp, 2)});
    notifications->show_sections({app_section(kLightApp, 3)});
    auto first = timer_of(today.get());
    ASSERT_NE(first, nullptr);
    auto* timer = dynamic_cast<platform::foundation::NSTimer*>(first.get());
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isValid());
    EXPECT_EQ(timer->timeInterval(), 0.5);
    EXPECT_EQ(timer->target(), today.get());
    for (int i = 0; i < 3; ++i)
        today->show_sections({today_section(kDarkApp, 2), today_section(kLightApp, 1)});
    EXPECT_EQ(timer_of(today.get()), first);
    EXPECT_NE(timer_of(notifications.get()), nullptr);
    EXPECT_NE(timer_of(notifications.get()), first);
}

TEST_F(NcHooks, TickRecoloursEveryLiveEntryAtTheCellOpacity) {
    fix_app_colours();
    state().NotificationUnicornEnabled = true;
    state().NotificationCenterAlpha = 0.3;
    state().NotificationCenterHeaderAlpha = 0.9;
    auto today = controller_showing<SBNCTableViewController>({today_section(kDarkApp, 3)});
    auto notifications =
        controller_showing<SBBulletinViewController>({app_section(kDarkApp, 4), app_section(kLightApp, 2)});
    // Cycling colours come as they are drawn, even after the switch goes off.
    state().NotificationUnicornEnabled = false;
    state().NotificationCenterEnabled = false;
    RunLoop::main().advance(0.5);
    for (auto* c : {static_cast<NotificationListController*>(today.get()),
                    static_cast<NotificationListController*>(notifications.get())}) {
        for (auto& cell : c->tableView()->shown_cells()) {
            auto colour = background(cell.get());
            ASSERT_TRUE(colour.has_value());
            EXPECT_EQ(colour->alpha, 0.3); // not the row fade
            EXPECT_TRUE(on_256th(colour->red) && on_256th(colour->green) && on_256th(colour->blue));
        }
        for (auto& header : c->tableView()->shown_headers()) {
            auto colour = header_background(header);
            ASSERT_TRUE(colour.has_value());
            EXPECT_EQ(colour->alpha, 0.3); // not the header opacity
            EXPECT_TRUE(on_256th(colour->red) && on_256th(colour->green) && on_256th(colour->blue));
        }
    }
}

TEST_F(NcHooks, DiscardedCellsLeaveTheListLiveOnesKeepCycling) {
    fix_app_colours();
    state().NotificationUnicornEnabled = true;
    auto c = controller_showing<SBBulletinViewController>({app_section(kDarkApp, 6)});
    RunLoop::main().advance(0.5);
    size_t with_six = nc::cell_cycling_list().size();
    // Reloading the same rows reuses the same cells: the list does not grow.
    for (int i = 0; i < 4; ++i)
        c->show_sections({app_section(kDarkApp, 6)});
    RunLoop::main().advance(0.5);
    EXPECT_EQ(nc::cell_cycling_list().size(), with_six);

    Ref<UIView> held = c->tableView()->shown_cells()[5]; // someone else keeps one discarded cell alive
    c->show_sections({app_section(kDarkApp, 1)});
    RunLoop::main().advance(0.5);
    // One reused, one still held elsewhere, four gone.
    EXPECT_EQ(nc::cell_cycling_list().size(), with_six - 4);
    EXPECT_EQ(held->superview(), nullptr);
    auto before = background(held.get());
    bool changed = false;
    for (int i = 0; i < 8 && !changed; ++i) {
        RunLoop::main().advance(0.5);
        changed = background(held.get()) != before;
    }
    EXPECT_TRUE(changed);
}

TEST_F(NcHooks, MasterSwitchOffAtRunTimeMakesEverythingInert) {
    state().NotificationCenterEnabled = false;
    state().NotificationUnicornEnabled = true;
    auto c = controller_showing<SBBulletinViewController>({app_section(kDarkApp, 2)});
    auto t = controller_showing<SBNCTableViewController>({today_section(kLightApp, 2)});
    for (auto* controller : {static_cast<NotificationListController*>(c.get()),
                             static_cast<NotificationListController*>(t.get())}) {
        EXPECT_EQ(timer_of(controller), nullptr);
        auto& header = controller->tableView()->shown_headers()[0];
        EXPECT_EQ(header_background(header), std::nullopt);
        EXPECT_EQ(title_colour(header), kHostTitle);
        EXPECT_NE(dynamic_cast<SBNotificationCenterHeaderView*>(header.get())->backdrop()->superview(),
                  nullptr);
        for (auto& cell : controller->tableView()->shown_cells()) {
            EXPECT_EQ(background(cell.get()), std::nullopt);
            auto* b = dynamic_cast<SBNotificationsBulletinCell*>(cell.get());
            if (b) {
                EXPECT_EQ(b->primaryLabel()->textColor()->colour(), kWhite);
            }
        }
    }
    // Nothing was registered: ticks of other controllers leave these views alone.
    state().NotificationCenterEnabled = true;
    state().NotificationUnicornEnabled = true;
    auto cycling = controller_showing<SBBulletinViewController>({app_section(kLightApp, 1)});
    RunLoop::main().advance(0.5);
    EXPECT_NE(timer_of(cycling.get()), nullptr);
    EXPECT_EQ(background(c->tableView()->shown_cells()[0].get()), std::nullopt);
    EXPECT_EQ(header_background(t->tableView()->shown_headers()[0]), std::nullopt);
}
