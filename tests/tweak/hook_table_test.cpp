#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tweak/HookGroups.h"
#include "tweak/HookTable.h"

using namespace platform::runtime;
using namespace zimtone::tweak;

namespace {

class Host : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<Host>("HookTableTestHost", NSObject::runtime_class())
                               .method<&Host::layoutSubviews>("layoutSubviews")
                               .method<&Host::title>("title")
                               .class_method<&Host::style>("styleFor:")
                               .get();
        return cls;
    }
    void layoutSubviews() { ++layouts; }
    int64_t title() const { return 10; }
    static int64_t style(Object*, int64_t requested) { return requested; }
    int layouts{0};
};

IMP saved_layout = nullptr;
IMP saved_style = nullptr;
IMP saved_missing = nullptr;
int hooked_layouts = 0;

void hooked_layout(Object* self, SEL sel) {
    call_imp(saved_layout, self, sel);
    ++hooked_layouts;
}
int64_t hooked_style(Object* self, SEL sel, int64_t) {
    return call_imp<int64_t>(saved_style, self, sel, int64_t{3900});
}
int64_t added_badge(Object*, SEL) {
    return 42;
}
int64_t own_title_replacement(Object*, SEL) {
    return -1;
}

} // namespace

TEST(HookTable, RowsInstallInOrderAndAbsentClassesChangeNothing) {
    Host::runtime_class();
    static const HookRow rows[] = {
        {"HookTableTestHost", "layoutSubviews", HookKind::Replace, imp_cast(&hooked_layout), &saved_layout,
         nullptr},
        {"HookTableTestHost", "badge", HookKind::Add, imp_cast(&added_badge), nullptr, "q@:"},
        // The class's own method stays when a row adds the same selector.
        {"HookTableTestHost", "title", HookKind::Add, imp_cast(&own_title_replacement), nullptr, "q@:"},
        {"HookTableTestHost", "styleFor:", HookKind::Replace, imp_cast(&hooked_style), &saved_style, nullptr,
         true},
        {"HookTableTestMissing", "layoutSubviews", HookKind::Replace, imp_cast(&hooked_layout),
         &saved_missing, nullptr},
        {"HookTableTestMissing", "badge", HookKind::Add, imp_cast(&added_badge), nullptr, "q@:"},
    };
    InstallCounts counts = install_group({"Test", rows});
    EXPECT_EQ(counts.replaced, 2);
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(saved_missing, nullptr);

    auto host = class_createInstance(objc_getClass("HookTableTestHost"));
    msg(host, "layoutSubviews"_sel);
    EXPECT_EQ(static_cast<Host*>(host.get())->layouts, 1); // the host's own layout ran
    EXPECT_EQ(hooked_layouts, 1);
    EXPECT_EQ(msg<int64_t>(host, "badge"_sel), 42);
    EXPECT_EQ(msg<int64_t>(host, "title"_sel), 10);
    EXPECT_EQ(msg<int64_t>(Host::runtime_class(), "styleFor:"_sel, int64_t{1}), 3900);
}

namespace {

// One row of the hook table as a reviewer reads it: class, selector, kind, and for added
// methods their type encoding.
struct TableRow {
    std::string class_name;
    std::string selector;
    HookKind kind;
    std::string types;
    bool class_side{false};
    bool operator==(const TableRow&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TableRow& row) {
    return out << (row.class_side ? "+" : "") << row.class_name << " " << row.selector << " "
               << (row.kind == HookKind::Replace ? "replace" : "add " + row.types);
}

std::vector<TableRow> rows_of(const HookGroup& group) {
    std::vector<TableRow> rows;
    for (const auto& row : group.rows)
        rows.push_back({row.class_name, row.selector, row.kind, row.types ? row.types : "", row.class_side});
    return rows;
}

constexpr auto R = HookKind::Replace;
constexpr auto A = HookKind::Add;

} // namespace

TEST(HookTable, EveryGroupHasTheTablesRowsInTheTablesOrder) {
    struct Group {
        HookGroup group;
        std::string name;
        std::vector<TableRow> rows;
    };
    const Group groups[] = {
        {notification_center_group(),
         "NotificationCenter",
         {
             {"_SBFVibrantTableViewHeaderFooterView", "initWithFrame:", R, ""},
             {"SBNCTableViewController", "setColorTimer:", A, "v@:@"},
             {"SBNCTableViewController", "colorTimer", A, "@@:"},
             {"SBNCTableViewController", "changeBackgroundColor", A, "v@:"},
             {"SBNCTableViewController", "tableView:cellForRowAtIndexPath:", R, ""},
             {"SBNCTableViewController", "tableView:viewForHeaderInSection:", R, ""},
             {"SBBulletinViewController", "setColorTimer:", A, "v@:@"},
             {"SBBulletinViewController", "colorTimer", A, "@@:"},
             {"SBBulletinViewController", "changeBackgroundColor", A, "v@:"},
             {"SBBulletinViewController", "tableView:cellForRowAtIndexPath:", R, ""},
             {"SBBulletinViewController", "tableView:viewForHeaderInSection:", R, ""},
             {"SBNotificationCenterHeaderView", "setSectionHasClearButton:", A, "v@:B"},
             {"SBNotificationCenterHeaderView", "sectionHasClearButton", A, "B@:"},
             {"SBNotificationCenterHeaderView", "setHasClearButton:", R, ""},
         }},
        {banner_group(),
         "Banner",
         {
             {"SBBannerContextView", "setTestBlur:", A, "v@:@"},
             {"SBBannerContextView", "testBlur", A, "@@:"},
             {"SBBannerContextView", "setColorChangerTimer:", A, "v@:@"},
             {"SBBannerContextView", "colorChangerTimer", A, "@@:"},
             {"SBBannerContextView", "changeBlurColor", A, "v@:"},
             {"SBBannerContextView", "addBackgroundWithImage:andAppName:", A, "v@:@@"},
             {"SBBannerContextView", "noteDidDismissWithReason:", R, ""},
             {"SBBannerContextView", "setBannerContext:withReplaceReason:", R, ""},
             {"SBBannerContextView", "layoutSubviews", R, ""},
             {"SBLockScreenNotificationBulletinBannerItem", "setSeedBulletin:", A, "v@:@"},
             {"SBLockScreenNotificationBulletinBannerItem", "seedBulletin", A, "@@:"},
             {"SBNotificationVibrantButton", "setOverlayButtonTitleColor:", A, "v@:@"},
             {"SBNotificationVibrantButton", "layoutSubviews", R, ""},
             {"SBDefaultBannerTextView", "changeAttributesOf:", A, "@@:@"},
             {"SBDefaultBannerTextView", "layoutSubviews", R, ""},
         }},
        {lockscreen_group(),
         "Lockscreen",
         {
             {"SBLockScreenNotificationListView", "setTavoView:", A, "v@:@"},
             {"SBLockScreenNotificationListView", "tavoView", A, "@@:"},
             {"SBLockScreenNotificationListView", "setTavoGradient:", A, "v@:@"},
             {"SBLockScreenNotificationListView", "tavoGradient", A, "@@:"},
             {"SBLockScreenNotificationListView", "layoutSubviews", R, ""},
             {"SBLockScreenNotificationListView", "setColorTimer:", A, "v@:@"},
             {"SBLockScreenNotificationListView", "colorTimer", A, "@@:"},
             {"SBLockScreenNotificationListView", "changeBackgroundColor", A, "v@:"},
             {"SBLockScreenNotificationListView", "tableView:cellForRowAtIndexPath:", R, ""},
             {"SBLockScreenNotificationListView", "prepareForRemoval", R, ""},
             {"SBLockScreenBulletinCell", "layoutSubviews", R, ""},
             {"SBTableViewCellDismissActionButton", "layoutSubviews", R, ""},
             {"SBLockScreenView", "_addLockContentUnderlayWithRequester:", R, ""},
         }},
        {quick_reply_group(),
         "QuickReply",
         {
             {"CKInlineReplyViewController", "updateSendButton", R, ""},
             {"CKInlineReplyViewController", "setupView", R, ""},
             {"UIKBRenderConfig", "backdropStyleForStyle:", R, "", true},
             {"UIKBRenderConfig", "lightKeyboard", R, ""},
             {"UIKeyboardLayout", "changeBackgroundColor", A, "v@:"},
             {"UIKeyboardLayout", "initWithFrame:", R, ""},
             {"UIKeyboardPredictionCell", "textColor", R, ""},
             {"UIKeyboardPredictionCell", "setColorChangerTimer:", A, "v@:@"},
             {"UIKeyboardPredictionCell", "colorChangerTimer", A, "@@:"},
             {"UIKeyboardPredictionCell", "changeBackgroundColor", A, "v@:"},
             {"UIKeyboardPredictionCell", "layoutSubviews", R, ""},
             {"UIKBBlurredKeyView", "setBackdrop:", A, "v@:@"},
             {"UIKBBlurredKeyView", "backdrop", A, "@@:"},
             {"UIKBBlurredKeyView", "changeBackgroundColor", A, "v@:"},
             {"UIKBBlurredKeyView", "initWithFrame:keyplane:key:", R, ""},
         }},
    };
    std::set<IMP*> slots;
    for (const auto& [group, name, rows] : groups) {
        SCOPED_TRACE(name);
        EXPECT_EQ(group.name, name);
        EXPECT_EQ(rows_of(group), rows);
        // Each replaced method keeps its displaced implementation in a slot of its own.
        for (const auto& row : group.rows)
            if (row.kind == HookKind::Replace) {
                EXPECT_NE(row.slot, nullptr) << row.selector;
                EXPECT_TRUE(slots.insert(row.slot).second) << row.selector << " shares a slot";
            }
    }
    EXPECT_EQ(slots.size(), 25u);
}

// The encodings of the methods added to host classes, kind by kind, as a reviewer checks them;
// each row's encoding is derived from its implementation's signature.
TEST(HookTable, EveryAddedMethodCarriesTheEncodingOfItsKind) {
    struct Kind {
        std::string types;
        std::set<std::string> selectors;
    };
    const Kind kinds[] = {
        {"v@:@",
         {"setColorTimer:", "setTestBlur:", "setColorChangerTimer:", "setSeedBulletin:", "setTavoView:",
          "setTavoGradient:", "setBackdrop:", "setOverlayButtonTitleColor:"}},
        {"@@:",
         {"colorTimer", "testBlur", "colorChangerTimer", "seedBulletin", "tavoView", "tavoGradient",
          "backdrop"}},
        {"v@:", {"changeBackgroundColor", "changeBlurColor"}},
        {"v@:B", {"setSectionHasClearButton:"}},
        {"B@:", {"sectionHasClearButton"}},
        {"@@:@", {"changeAttributesOf:"}},
        {"v@:@@", {"addBackgroundWithImage:andAppName:"}},
    };
    std::set<std::string> seen;
    int added = 0;
    for (const HookGroup& group :
         {notification_center_group(), banner_group(), lockscreen_group(), quick_reply_group()})
        for (const HookRow& row : group.rows) {
            if (row.kind != HookKind::Add)
                continue;
            ++added;
            seen.insert(row.selector);
            const auto kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const Kind& k) {
                return k.selectors.count(row.selector) > 0;
            });
            ASSERT_NE(kind, std::end(kinds)) << row.selector << " is of no kind";
            ASSERT_NE(row.types, nullptr) << row.selector;
            EXPECT_EQ(row.types, kind->types) << row.class_name << " " << row.selector;
        }
    EXPECT_EQ(added, 32);
    for (const Kind& kind : kinds)
        for (const auto& selector : kind.selectors)
            EXPECT_TRUE(seen.count(selector)) << selector << " is added by no row";
}
