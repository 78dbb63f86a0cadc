#include <gtest/gtest.h>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "prefs/app_colours.h"

namespace {

using namespace zimtone::prefs;
using platform::foundation::ns;
using platform::foundation::NSArray;
using platform::foundation::NSDictionary;
using platform::foundation::NSMutableDictionary;

using Entries = std::vector<std::pair<std::string, std::string>>;

Ref<NSMutableArray> array_of(const Entries& entries) {
    auto array = NSMutableArray::create();
    for (auto& [id, hex] : entries) {
        auto d = NSMutableDictionary::create();
        d->set(id, ns(hex));
        array->addObject(d);
    }
    return array;
}

Entries entries_of(const NSArray& array) {
    Entries out;
    for (auto& item : array.items()) {
        auto* d = dynamic_cast<NSDictionary*>(item.get());
        if (!d || d->count() != 1) {
            out.emplace_back("?", "?");
            continue;
        }
        out.emplace_back(d->keys()[0], *platform::foundation::string_of(d->get(d->keys()[0]).get()));
    }
    return out;
}

TEST(AppColours, SavingReplacesTheFirstEntryOrAppends) {
    struct Case {
        const char* name;
        std::optional<Entries> stored;
        Entries expected;
    } cases[] = {
        {"no array yet", std::nullopt, {{"com.a", "FF8800"}}},
        {"empty array", Entries{}, {{"com.a", "FF8800"}}},
        {"other apps keep their place",
         Entries{{"com.b", "000000"}, {"com.c", "111111"}},
         {{"com.b", "000000"}, {"com.c", "111111"}, {"com.a", "FF8800"}}},
        {"replaced in place, length and order kept",
         Entries{{"com.b", "000000"}, {"com.a", "123456"}, {"com.c", "111111"}},
         {{"com.b", "000000"}, {"com.a", "FF8800"}, {"com.c", "111111"}}},
        {"only the first of two entries changes",
         Entries{{"com.a", "123456"}, {"com.a", "654321"}},
         {{"com.a", "FF8800"}, {"com.a", "654321"}}},
    };
    for (const auto& c : cases) {
        Ref<NSMutableArray> stored = c.stored ? array_of(*c.stored) : nullptr;
        auto saved = with_app_colour(stored.get(), "com.a", "FF8800");
        EXPECT_EQ(entries_of(*saved), c.expected) << c.name;
        if (stored) {
            EXPECT_EQ(entries_of(*stored), *c.stored) << c.name << ": the stored array is not changed";
        }
    }
}

TEST(AppColours, AValueThatIsNoArrayStartsANewOne) {
    auto saved = with_app_colour(ns("garbage").get(), "com.a", "abcdef");
    EXPECT_EQ(entries_of(*saved), (Entries{{"com.a", "abcdef"}}));
}

TEST(AppColours, EntriesThatAreNoDictionariesAreKept) {
    auto stored = array_of({{"com.b", "000000"}});
    stored->addObject(ns("odd"));
    auto saved = with_app_colour(stored.get(), "com.a", "abcdef");
    ASSERT_EQ(saved->count(), 3u);
    EXPECT_EQ(*platform::foundation::string_of(saved->objectAtIndex(1).get()), "odd");
}

TEST(AppColours, TheFirstStoredColourWins) {
    auto stored = array_of({{"com.b", "000000"}, {"com.a", "111111"}, {"com.a", "222222"}});
    EXPECT_EQ(first_app_colour(stored.get(), "com.a"), "111111");
    EXPECT_EQ(first_app_colour(stored.get(), "com.z"), std::nullopt);
    EXPECT_EQ(first_app_colour(nullptr, "com.a"), std::nullopt);
    auto odd = NSMutableArray::create();
    auto entry = NSMutableDictionary::create();
    entry->set("com.a", platform::foundation::NSMutableArray::create());
    odd->addObject(entry);
    EXPECT_EQ(first_app_colour(odd.get(), "com.a"), std::string()) << "present but not text";
}

} // namespace
