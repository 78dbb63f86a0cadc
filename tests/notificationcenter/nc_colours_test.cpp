#include <gtest/gtest.h>

#include "tweak/notificationcenter/nc_colours.h"

using namespace zimtone::tweak::notificationcenter;

TEST(SectionAppIdentifier, EachListHasItsOwnTrimRule) {
    struct Row {
        const char* raw;
        const char* today;
        const char* notifications;
    };
    const Row rows[] = {
        {"com.apple.weather", "com.apple.weather", "com.apple.weather"},
        {"com.apple.weather.today", "com.apple.weather", "com.apple.weather"},
        {"com.apple.weather.today.large", "com.apple.weather.today", "com.apple.weather.today.large"},
        {"com.apple.weather.today.large.x", "com.apple.weather.today.large.x",
         "com.apple.weather.today.large.x"},
        {"weather", "weather", "weather"},
        {"", "", ""},
        // Empty parts count as parts.
        {"a..b.", "a..b", "a..b"},
        {"...", "..", ".."},
    };
    for (auto& row : rows) {
        EXPECT_EQ(section_app_identifier(row.raw, ListKind::Today), row.today) << row.raw;
        EXPECT_EQ(section_app_identifier(row.raw, ListKind::Notifications), row.notifications) << row.raw;
    }
}

TEST(RowOpacity, FadesByATenthFromPointEightAndGoesNegative) {
    struct Row {
        int64_t row;
        double expected;
    };
    const Row rows[] = {
        {0, 0.8}, {1, 0.7}, {2, 0.6},  {3, 0.5},   {4, 0.4},   {5, 0.3},  {6, 0.2},
        {7, 0.1}, {8, 0.0}, {9, -0.1}, {12, -0.4}, {20, -1.2}, {-2, 1.0},
    };
    for (auto& row : rows)
        EXPECT_NEAR(row_opacity(row.row), row.expected, 1e-15) << row.row;
    // The ends of the fade land exactly.
    EXPECT_EQ(row_opacity(0), 0.8);
    EXPECT_EQ(row_opacity(8), 0.0);
    EXPECT_LT(row_opacity(9), 0.0);
}

TEST(HeaderPlan, EffectTodayOffLeavesHeadersWithoutClearButton) {
    struct Row {
        const char* name;
        NcSettings settings;
        bool clear_button;
        bool colour, text, cycle;
    };
    NcSettings on;
    NcSettings off = on;
    off.enabled = false;
    NcSettings no_today = on;
    no_today.effect_today = false;
    NcSettings plain = on;
    plain.auto_text = false;
    plain.unicorn = true;
    NcSettings only_headers = on;
    only_headers.only_headers = true;
    const Row rows[] = {
        {"defaults", on, false, true, true, false},
        {"master switch off", off, true, false, false, false},
        {"no effect today, no clear button", no_today, false, false, false, false},
        {"no effect today, clear button", no_today, true, true, true, false},
        {"no automatic text, cycling", plain, false, true, false, true},
        {"only headers still colours headers", only_headers, false, true, true, false},
    };
    for (auto& row : rows) {
        HeaderPlan plan = plan_header(row.settings, row.clear_button);
        EXPECT_EQ(plan.colour, row.colour) << row.name;
        EXPECT_EQ(plan.text, row.text) << row.name;
        EXPECT_EQ(plan.cycle, row.cycle) << row.name;
    }
}

TEST(CellPlan, WhichCellsAreColouredAndHow) {
    struct Row {
        const char* name;
        NcSettings settings;
        ListKind kind;
        const char* raw;
        int64_t row;
        bool bulletin_cell;
        CellPlan expected;
    };
    NcSettings on;
    on.cell_alpha = 0.35;
    NcSettings off = on;
    off.enabled = false;
    off.unicorn = true;
    NcSettings only_headers = on;
    only_headers.only_headers = true;
    only_headers.unicorn = true;
    NcSettings no_today = on;
    no_today.effect_today = false;
    no_today.unicorn = true;
    NcSettings flat = on;
    flat.layered = false;
    NcSettings no_text = on;
    no_text.auto_text = false;
    const Row rows[] = {
        {"layered row 0",
         on,
         ListKind::Notifications,
         "com.a.b",
         0,
         true,
         {true, "com.a.b", 0.8, true, false}},
        {"layered row 8",
         on,
         ListKind::Notifications,
         "com.a.b",
         8,
         true,
         {true, "com.a.b", 0.0, true, false}},
        {"flat alpha",
         flat,
         ListKind::Notifications,
         "com.a.b",
         5,
         true,
         {true, "com.a.b", 0.35, true, false}},
        {"trimmed for today",
         on,
         ListKind::Today,
         "com.a.b.c.d",
         0,
         true,
         {true, "com.a.b.c", 0.8, true, false}},
        {"not trimmed for notifications",
         on,
         ListKind::Notifications,
         "com.a.b.c.d",
         0,
         true,
         {true, "com.a.b.c.d", 0.8, true, false}},
        {"plain cell keeps its texts",
         on,
         ListKind::Today,
         "com.a.b",
         0,
         false,
         {true, "com.a.b", 0.8, false, false}},
        {"no automatic text",
         no_text,
         ListKind::Today,
         "com.a.b",
         0,
         true,
         {true, "com.a.b", 0.8, false, false}},
        {"master switch off", off, ListKind::Today, "com.a.b", 0, true, {}},
        {"only headers: not even cycling", only_headers, ListKind::Today, "com.a.b", 0, true, {}},
        {"no effect today, three parts as they came",
         no_today,
         ListKind::Today,
         "com.a.b",
         1,
         true,
         {true, "com.a.b", 0.7, true, true}},
        {"no effect today, four parts: cycling only",
         no_today,
         ListKind::Today,
         "com.a.b.c",
         0,
         true,
         {false, "", 0, false, true}},
        {"no effect today, two parts: cycling only",
         no_today,
         ListKind::Notifications,
         "com.a",
         0,
         true,
         {false, "", 0, false, true}},
    };
    for (auto& row : rows) {
        CellPlan plan = plan_cell(row.settings, row.kind, row.raw, row.row, row.bulletin_cell);
        EXPECT_EQ(plan.colour, row.expected.colour) << row.name;
        EXPECT_EQ(plan.app, row.expected.app) << row.name;
        EXPECT_NEAR(plan.alpha, row.expected.alpha, 1e-15) << row.name;
        EXPECT_EQ(plan.text, row.expected.text) << row.name;
        EXPECT_EQ(plan.cycle, row.expected.cycle) << row.name;
    }
    EXPECT_FALSE(cell_hook_active(off));
    EXPECT_FALSE(cell_hook_active(only_headers));
    EXPECT_TRUE(cell_hook_active(no_today));
}
