// Choosing the app a made-up notification claims to come from: random, bounded, and fair to every
// app with an icon even when few have one.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/NSString.h"
#include "platform/foundation/Random.h"
#include "tweak/AppIdentifiers.h"

using namespace platform::foundation;
using platform::runtime::Object;
using platform::runtime::Ref;
using zimtone::tweak::random_identifier_with_icon;

namespace {

std::vector<Ref<Object>> apps_named(int count) {
    std::vector<Ref<Object>> apps;
    for (int i = 0; i < count; ++i)
        apps.emplace_back(ns("com.example.app" + std::to_string(i)));
    return apps;
}

std::string text(const Ref<Object>& id) {
    return id ? *string_of(id.get()) : "(nil)";
}

} // namespace

TEST(RandomAppWithIcon, EveryAppWithAnIconIsEquallyLikelyWhenFewHaveOne) {
    // 2 of 200 apps have an icon: the bounded draws miss both about half the time, and what is
    // chosen then must not favour either of them.
    const auto apps = apps_named(200);
    const std::set<std::string> with_icon = {"com.example.app17", "com.example.app150"};
    auto has_icon = [&](Object* id) { return with_icon.contains(*string_of(id)); };

    seed_random(20261209);
    std::map<std::string, int> chosen;
    const int draws = 400;
    for (int i = 0; i < draws; ++i)
        ++chosen[text(random_identifier_with_icon(apps, has_icon))];

    ASSERT_EQ(chosen.size(), 2u) << "only apps with an icon, and both of them";
    const int first = chosen["com.example.app17"], second = chosen["com.example.app150"];
    EXPECT_EQ(first + second, draws);
    EXPECT_LE(first, 2 * second);
    EXPECT_LE(second, 2 * first);
}

TEST(RandomAppWithIcon, DrawsOnlyFromTheProcessRandomSource) {
    const auto apps = apps_named(200);
    auto has_icon = [](Object* id) { return string_of(id)->ends_with("7"); };
    auto run_of_choices = [&](uint64_t seed) {
        seed_random(seed);
        std::vector<std::string> run;
        for (int i = 0; i < 50; ++i)
            run.push_back(text(random_identifier_with_icon(apps, has_icon)));
        return run;
    };
    EXPECT_EQ(run_of_choices(5), run_of_choices(5)) << "one seed, one sequence of choices";
}

TEST(RandomAppWithIcon, NoneWhenNoListedAppQualifies) {
    struct Row {
        const char* name;
        int apps;
    };
    const Row rows[] = {{"empty list", 0}, {"no app with an icon", 200}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        int asked = 0;
        auto no_icon = [&](Object*) {
            ++asked;
            return false;
        };
        EXPECT_FALSE(random_identifier_with_icon(apps_named(row.apps), no_icon));
        EXPECT_LE(asked, 64 + row.apps) << "the search is bounded";
    }
}
