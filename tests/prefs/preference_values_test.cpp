#include <gtest/gtest.h>

#include <set>

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "prefs/preference_values.h"
#include "settings/Keys.h"

namespace {

using namespace zimtone::prefs;
using platform::foundation::ns;
using platform::foundation::NSMutableDictionary;
using platform::foundation::NSNumber;

struct ShowCase {
    const char* name;
    Ref<Object> stored;   // nil: the file lacks the key
    Ref<Object> fallback; // the row's "default"; nil: none
    Ref<Object> expected;
};

TEST(PreferenceValues, ShowsTheFilesValueElseTheRowsDefault) {
    auto yes = NSNumber::numberWithBool(true), no = NSNumber::numberWithBool(false);
    auto zero = NSNumber::numberWithDouble(0), half = NSNumber::numberWithDouble(0.5);
    auto text = ns("abc");
    ShowCase cases[] = {
        {"stored false beats default true", no, yes, no},
        {"stored 0 beats default", zero, half, zero},
        {"stored text as it is", text, yes, text},
        {"absent key shows default", nullptr, half, half},
        {"absent key and no default shows nothing", nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        auto file = NSMutableDictionary::create();
        file->set("OtherKey", yes);
        if (c.stored)
            file->set("BannerAlpha", c.stored);
        auto row = NSMutableDictionary::create();
        row->set("key", ns("BannerAlpha"));
        if (c.fallback)
            row->set("default", c.fallback);
        EXPECT_EQ(value_to_show(*file, *row).get(), c.expected.get()) << c.name;
    }
}

TEST(PreferenceValues, ARowWithoutKeyShowsItsDefault) {
    auto file = NSMutableDictionary::create();
    auto row = NSMutableDictionary::create();
    row->set("default", ns("d"));
    EXPECT_EQ(*platform::foundation::string_of(value_to_show(*file, *row).get()), "d");
}

TEST(PreferenceValues, RestartKeysOfEachPageAreTheRestartKeysOfItsGroup) {
    using zimtone::settings::Group;
    std::pair<Page, Group> pages[] = {{Page::Banner, Group::Banner},
                                      {Page::NotificationCenter, Group::NotificationCenter},
                                      {Page::Lockscreen, Group::Lockscreen},
                                      {Page::Requests, Group::Requests}};
    for (auto [page, group] : pages) {
        std::set<std::string_view> expected, actual(restart_keys(page).begin(), restart_keys(page).end());
        for (const auto& k : zimtone::settings::keys_of(group))
            if (k.needs_restart)
                expected.insert(k.key);
        EXPECT_EQ(actual, expected) << zimtone::settings::group_name(group);
    }
    EXPECT_TRUE(restart_keys(Page::Root).empty());
    EXPECT_FALSE(needs_restart(Page::Requests, "tavoEffect"));
    EXPECT_TRUE(needs_restart(Page::Requests, "EffectToday"));
    EXPECT_FALSE(needs_restart(Page::Banner, "BannerAlpha"));
    // A key of another page's group never prompts here.
    EXPECT_FALSE(needs_restart(Page::Banner, "LockscreenEnabled"));
}

TEST(PreferenceValues, DescribesValuesForMessages) {
    EXPECT_EQ(describe_value(NSNumber::numberWithBool(true).get()), "YES");
    EXPECT_EQ(describe_value(NSNumber::numberWithBool(false).get()), "NO");
    EXPECT_EQ(describe_value(NSNumber::numberWithDouble(0.5).get()), "0.5");
    EXPECT_EQ(describe_value(ns("x").get()), "\"x\"");
    EXPECT_EQ(describe_value(nullptr), "nothing");
}

} // namespace
