#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/lockscreen/SBLockScreenBulletinCell.h"
#include "platform/springboard/lockscreen/SBLockScreenNotificationListView.h"
#include "platform/springboard/lockscreen/SBLockScreenView.h"
#include "platform/uikit/CAGradientLayer.h"
#include "settings/SettingsState.h"
#include "tweak/HookGroups.h"
#include "tweak/lockscreen/LockscreenUnicornList.h"

using namespace platform::runtime;
using namespace platform::foundation;
using namespace platform::springboard;
using namespace platform::uikit;
using zimtone::colour::Colour;
using zimtone::tweak::lockscreen::LockscreenUnicornList;

namespace {

constexpr Colour kRed{1, 0, 0, 1};
constexpr Colour kYellow{1, 1, 0, 1};
constexpr Colour kBlue{0, 0, 1, 1};
constexpr Colour kClear{0, 0, 0, 0};
constexpr Colour kWhite{1, 1, 1, 1};
constexpr Colour kBlack{0, 0, 0, 1};

Ref<UIImage> solid_icon(const Colour& c) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 4; ++i)
        for (double v : {c.red, c.green, c.blue, 1.0})
            rgba.push_back(uint8_t(v * 255));
    return UIImage::withImage(zimtone::colour::Image::fromPixels(2, 2, 1, rgba));
}

struct App {
    const char* section;
    Colour icon;
};

std::optional<Colour> colour(const UIColor* c) {
    return c ? std::optional(c->colour()) : std::nullopt;
}

class LockscreenHooks : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SBTableViewCellDismissActionButton::runtime_class();
        SBLockScreenBulletinCell::runtime_class();
        UITableView::runtime_class();
        SBLockScreenNotificationListView::runtime_class();
        SBLockScreenView::runtime_class();
        NSIndexPath::runtime_class();
        NSTimer::runtime_class();
        CAGradientLayer::runtime_class();
        static bool installed = [] {
            zimtone::tweak::install_group(zimtone::tweak::lockscreen_group());
            return true;
        }();
        (void)installed;
        RunLoop::main().use_virtual_clock(0);
    }

    void SetUp() override {
        auto& s = zimtone::settings::state();
        s.LockscreenEnabled = true;
        s.AllowSaturationLock = false;
        s.LockscreenSaturation = 1.0;
        s.LockscreenAlpha = 1.0;
        s.LockscreenUnicornEnabled = false;
        s.tavoEffect = false;
        s.AutoTextColor = true;
        s.SpecificAppColor = false;
        s.LockscreenBlurEnabled = true;
        s.per_app_colours = nullptr;
        LockscreenUnicornList::shared().release();
    }

    void TearDown() override {
        for (auto& list : lists_)
            msg(list.get(), "prepareForRemoval"_sel);
    }

    // A laid-out list showing the apps top to bottom (row 0 first).
    SBLockScreenNotificationListView* list_of(const std::vector<App>& apps) {
        auto list = UIView::create<SBLockScreenNotificationListView>(CGRectMake(0, 0, 375, 667));
        for (auto it = apps.rbegin(); it != apps.rend(); ++it)
            list->model()->insert_newest(SBAwayBulletinListItem::with(
                BBBulletin::make(it->section, "Title", "Message"), solid_icon(it->icon)));
        list->reloadData();
        list->layoutIfNeeded();
        lists_.push_back(list);
        return list.get();
    }

    static std::vector<SBLockScreenBulletinCell*> cells(const SBLockScreenNotificationListView* list) {
        std::vector<SBLockScreenBulletinCell*> out;
        for (auto& v : list->tableView()->subview_list())
            if (auto* cell = dynamic_cast<SBLockScreenBulletinCell*>(v.get()))
                out.push_back(cell);
        return out;
    }

    static CAGradientLayer* gradient(const SBLockScreenNotificationListView* list) {
        return dynamic_cast<CAGradientLayer*>(msg<Ref<Object>>(list, "tavoGradient"_sel).get());
    }

    static std::vector<Colour> gradient_colours(const SBLockScreenNotificationListView* list) {
        std::vector<Colour> out;
        for (auto* c : gradient(list)->colour_list())
            out.push_back(c->colour());
        return out;
    }

    static NSTimer* timer(const SBLockScreenNotificationListView* list) {
        return dynamic_cast<NSTimer*>(msg<Ref<Object>>(list, "colorTimer"_sel).get());
    }

    std::vector<Ref<SBLockScreenNotificationListView>> lists_;
};

} // namespace

TEST_F(LockscreenHooks, CellBackgroundFromPerAppColourOrIconWithSaturationAndOpacity) {
    struct Row {
        const char* name;
        bool specific;
        const char* entry; // per-app hex for "com.a", or none
        bool allow;
        double saturation;
        double alpha;
        std::optional<Colour> background;
    };
    const Row rows[] = {
        {"icon colour", false, nullptr, false, 1.0, 1.0, kRed},
        {"icon colour at the opacity", false, nullptr, false, 1.0, 0.4, Colour{1, 0, 0, 0.4}},
        {"per-app colour wins when enabled", true, "00FE00", false, 1.0, 1.0, Colour{0, 1, 0, 1}},
        {"per-app entry ignored when disabled", false, "00FE00", false, 1.0, 1.0, kRed},
        {"enabled without an entry: icon", true, nullptr, false, 1.0, 1.0, kRed},
        {"saturation 0 when allowed", false, nullptr, true, 0.0, 1.0, kWhite},
        {"saturation ignored when not allowed", false, nullptr, false, 0.0, 1.0, kRed},
        {"undecodable entry: no background", true, "zz", false, 1.0, 1.0, std::nullopt},
    };
    for (const auto& row : rows) {
        auto& s = zimtone::settings::state();
        s.SpecificAppColor = row.specific;
        s.per_app_colours = NSMutableDictionary::create();
        if (row.entry)
            s.per_app_colours->set("com.a", ns(row.entry));
        s.AllowSaturationLock = row.allow;
        s.LockscreenSaturation = row.saturation;
        s.LockscreenAlpha = row.alpha;
        auto* cell = cells(list_of({{"com.a", kRed}})).at(0);
        EXPECT_EQ(colour(cell->contentView()->backgroundColor()), row.background) << row.name;
        // Texts always take the icon's automatic colour: white on red.
        EXPECT_EQ(colour(cell->primaryTextColor()), kWhite) << row.name;
    }
}

TEST_F(LockscreenHooks, AutomaticTextColourComesFromTheIconEvenWithAPerAppColour) {
    auto& s = zimtone::settings::state();
    s.SpecificAppColor = true;
    s.per_app_colours = NSMutableDictionary::create();
    s.per_app_colours->set("com.y", ns("000000")); // black background, yet the yellow icon decides
    auto* cell = cells(list_of({{"com.y", kYellow}})).at(0);
    EXPECT_EQ(colour(cell->contentView()->backgroundColor()), kBlack);
    EXPECT_EQ(colour(cell->primaryTextColor()), kBlack);
    for (UILabel* label : {cell->eventDateLabel(), cell->relevanceDateLabel()}) {
        EXPECT_EQ(colour(label->textColor()), kBlack);
        EXPECT_EQ(label->layer()->compositingFilter(), nullptr);
    }
    // The unlock text follows the primary colour at each layout of the cell.
    EXPECT_EQ(colour(cell->unlockTextLabel()->textColor()), kBlack);
    EXPECT_EQ(cell->unlockTextLabel()->layer()->compositingFilter(), nullptr);
    cell->setPrimaryTextColor(UIColor::with(kBlue));
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    EXPECT_EQ(colour(cell->unlockTextLabel()->textColor()), kBlue);
}

TEST_F(LockscreenHooks, TextsKeepTheHostsColoursWithAutomaticColourOff) {
    zimtone::settings::state().AutoTextColor = false;
    auto* cell = cells(list_of({{"com.y", kYellow}})).at(0);
    EXPECT_EQ(colour(cell->contentView()->backgroundColor()), kYellow);
    EXPECT_EQ(colour(cell->primaryTextColor()), kWhite);
    for (UILabel* label : {cell->eventDateLabel(), cell->unlockTextLabel()}) {
        ASSERT_NE(string_of(label->layer()->compositingFilter()), nullptr);
        EXPECT_EQ(*string_of(label->layer()->compositingFilter()), "plusL");
        EXPECT_NE(colour(label->textColor()), kBlack);
    }
}

TEST_F(LockscreenHooks, GradientAboveTheContainerTakesOnlyTheFirstRowsColour) {
    zimtone::settings::state().tavoEffect = true;
    zimtone::settings::state().LockscreenAlpha = 0.5;
    auto* list = list_of({{"com.r", kRed}, {"com.y", kYellow}, {"com.b", kBlue}});
    auto* tavo = dynamic_cast<UIView*>(msg<Ref<Object>>(list, "tavoView"_sel).get());
    ASSERT_NE(tavo, nullptr);
    EXPECT_EQ(list->subview_list().back().get(), tavo);
    EXPECT_EQ(tavo->frame(), CGRectMake(0, 0, 375, SBLockScreenNotificationListView::kContainerTop));
    EXPECT_EQ(gradient(list)->frame(), tavo->bounds());
    EXPECT_EQ(gradient(list)->superlayer(), tavo->layer());
    EXPECT_EQ(gradient_colours(list), (std::vector<Colour>{kClear, Colour{1, 0, 0, 0.5}}));

    // Other rows and other sections never touch it.
    for (auto [row, section] : {std::pair{1, 0}, std::pair{2, 0}, std::pair{0, 1}})
        msg<Ref<Object>>(list, "tableView:cellForRowAtIndexPath:"_sel, list->tableView(),
                         NSIndexPath::indexPathForRow(row, section));
    EXPECT_EQ(gradient_colours(list), (std::vector<Colour>{kClear, Colour{1, 0, 0, 0.5}}));

    // Removal clears it and leaves the view in place.
    msg(list, "prepareForRemoval"_sel);
    EXPECT_EQ(gradient_colours(list), (std::vector<Colour>{kClear, kClear}));
    EXPECT_EQ(list->subview_list().back().get(), tavo);
}

TEST_F(LockscreenHooks, GradientWithoutNotificationsStaysClearAndIsBuiltOnce) {
    zimtone::settings::state().tavoEffect = true;
    auto* list = list_of({});
    auto first = msg<Ref<Object>>(list, "tavoView"_sel);
    EXPECT_EQ(gradient_colours(list), (std::vector<Colour>{kClear, kClear}));
    list->setFrame(CGRectMake(0, 0, 320, 667));
    list->layoutIfNeeded();
    EXPECT_EQ(msg<Ref<Object>>(list, "tavoView"_sel).get(), first.get());
    EXPECT_EQ(dynamic_cast<UIView*>(first.get())->frame(),
              CGRectMake(0, 0, 320, SBLockScreenNotificationListView::kContainerTop));
}

TEST_F(LockscreenHooks, OneTimerPerListViewRecolouringEveryLiveCellAtEachTick) {
    auto& s = zimtone::settings::state();
    s.LockscreenUnicornEnabled = true;
    s.tavoEffect = true;
    s.LockscreenAlpha = 0.5;
    auto* list = list_of({{"com.r", kRed}, {"com.y", kYellow}, {"com.b", kBlue}});
    NSTimer* first = timer(list);
    ASSERT_NE(first, nullptr);
    EXPECT_DOUBLE_EQ(first->timeInterval(), 0.5);
    list->reloadData();
    list->layoutIfNeeded();
    EXPECT_EQ(timer(list), first);
    // The reload discarded the first cells: from the next tick on only the three live ones stay listed.
    size_t painted = 0;
    LockscreenUnicornList::shared().for_each_live([&](Object*) { ++painted; });
    EXPECT_EQ(painted, 3u);
    EXPECT_EQ(LockscreenUnicornList::shared().size(), 3u);
    auto* other = list_of({{"com.r", kRed}});
    EXPECT_NE(timer(other), nullptr);
    EXPECT_NE(timer(other), first);

    // Turning the effect off does not stop the cycling already running.
    s.LockscreenUnicornEnabled = false;
    RunLoop::main().advance(0.5);
    for (auto* l : {list, other})
        for (auto* cell : cells(l)) {
            auto c = colour(cell->contentView()->backgroundColor());
            ASSERT_TRUE(c);
            // Channels are n/256, never the icons' full 1.0, at the lock-screen opacity.
            EXPECT_LT(std::max({c->red, c->green, c->blue}), 1.0);
            EXPECT_EQ(c->alpha, 0.5);
        }
    EXPECT_EQ(gradient_colours(list).at(1).alpha, 0.5);
}

TEST_F(LockscreenHooks, RemovalStopsTheTimerReleasesTheListAndTheNextListStartsAnew) {
    zimtone::settings::state().LockscreenUnicornEnabled = true;
    auto* list = list_of({{"com.r", kRed}});
    Ref<NSTimer> running(timer(list));
    msg(list, "prepareForRemoval"_sel);
    EXPECT_FALSE(running->isValid());
    EXPECT_EQ(running->target(), nullptr); // the list view is no longer held by its timer
    EXPECT_EQ(timer(list), nullptr);
    EXPECT_FALSE(LockscreenUnicornList::shared().exists());

    auto* next = list_of({{"com.b", kBlue}});
    ASSERT_NE(timer(next), nullptr);
    EXPECT_TRUE(timer(next)->isValid());
    EXPECT_EQ(LockscreenUnicornList::shared().size(), 1u);
}

TEST_F(LockscreenHooks, TickWithoutAGradientOnlyRecoloursCells) {
    zimtone::settings::state().LockscreenUnicornEnabled = true;
    auto* list = list_of({{"com.r", kRed}});
    RunLoop::main().advance(0.5);
    EXPECT_EQ(msg<Ref<Object>>(list, "tavoGradient"_sel), nullptr);
    EXPECT_NE(colour(cells(list).at(0)->contentView()->backgroundColor()), kRed);
}

TEST_F(LockscreenHooks, InertWhileTheMasterSwitchIsOffAtRunTime) {
    auto& s = zimtone::settings::state();
    s.LockscreenEnabled = false;
    s.tavoEffect = true;
    s.LockscreenUnicornEnabled = true;
    auto* list = list_of({{"com.y", kYellow}});
    auto* cell = cells(list).at(0);
    EXPECT_EQ(cell->contentView()->backgroundColor(), nullptr);
    EXPECT_EQ(colour(cell->primaryTextColor()), kWhite);
    EXPECT_NE(cell->unlockTextLabel()->layer()->compositingFilter(), nullptr);
    EXPECT_EQ(msg<Ref<Object>>(list, "tavoView"_sel), nullptr);
    EXPECT_EQ(timer(list), nullptr);
    EXPECT_TRUE(cell->dismissButton()->drawsTopSeparator());
    EXPECT_TRUE(cell->dismissButton()->drawsBottomSeparator());

    s.LockscreenEnabled = true;
    auto* coloured = cells(list_of({{"com.y", kYellow}})).at(0);
    EXPECT_FALSE(coloured->dismissButton()->drawsTopSeparator());
    EXPECT_FALSE(coloured->dismissButton()->drawsBottomSeparator());
}

TEST_F(LockscreenHooks, UnderlayOnlyWhileTheBlurIsOnWhateverTheMasterSwitch) {
    struct Row {
        bool enabled, blur;
        size_t underlays;
    };
    const Row rows[] = {{true, true, 1}, {true, false, 0}, {false, true, 1}, {false, false, 0}};
    for (const auto& row : rows) {
        zimtone::settings::state().LockscreenEnabled = row.enabled;
        zimtone::settings::state().LockscreenBlurEnabled = row.blur;
        auto lock = UIView::create<SBLockScreenView>(CGRectMake(0, 0, 375, 667));
        msg(lock.get(), "_addLockContentUnderlayWithRequester:"_sel, ns("NotificationList"));
        EXPECT_EQ(lock->underlay_count(), row.underlays) << row.enabled << row.blur;
    }
    // Switched back on, the next request adds the host's underlay as usual.
    zimtone::settings::state().LockscreenBlurEnabled = false;
    auto lock = UIView::create<SBLockScreenView>(CGRectMake(0, 0, 375, 667));
    msg(lock.get(), "_addLockContentUnderlayWithRequester:"_sel, ns("NotificationList"));
    zimtone::settings::state().LockscreenBlurEnabled = true;
    msg(lock.get(), "_addLockContentUnderlayWithRequester:"_sel, ns("NotificationList"));
    EXPECT_EQ(lock->underlay_count(), 1u);
}

TEST_F(LockscreenHooks, ATableOutlivingItsListAsksNoDeadDataSource) {
    Ref<UITableView> table;
    {
        auto list = UIView::create<SBLockScreenNotificationListView>(CGRectMake(0, 0, 375, 667));
        list->model()->insert_newest(
            SBAwayBulletinListItem::with(BBBulletin::make("com.r", "Title", "Message"), solid_icon(kRed)));
        list->layoutIfNeeded();
        table = list->tableView();
        ASSERT_EQ(table->subview_list().size(), 1u);
    }
    table->reloadData();
    table->layoutIfNeeded();
    EXPECT_TRUE(table->subview_list().empty());
}
