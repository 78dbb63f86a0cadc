#include <gtest/gtest.h>

#include "platform/foundation/NSString.h"
#include "prefs/app_list.h"
#include "settings/ExcludedApps.h"

namespace {

using platform::foundation::ns;
using platform::foundation::NSMutableDictionary;
using zimtone::prefs::listed_app_identifiers;

TEST(AppList, SortedByDisplayNameIgnoringCase) {
    auto apps = NSMutableDictionary::create();
    apps->set("com.z", ns("banana"));
    apps->set("com.y", ns("Apple"));
    apps->set("com.x", ns("cherry"));
    apps->set("com.w", ns("Bakery"));
    apps->set("com.v", ns("apple")); // equal names keep the dictionary's order
    EXPECT_EQ(listed_app_identifiers(*apps),
              (std::vector<std::string>{"com.y", "com.v", "com.w", "com.z", "com.x"}));
}

TEST(AppList, LeavesOutEveryExcludedIdentifierExactly) {
    auto apps = NSMutableDictionary::create();
    for (auto id : zimtone::settings::kExcludedSystemApps)
        apps->set(std::string(id), ns("System"));
    for (auto id : zimtone::settings::kExcludedByPaneOnly)
        apps->set(std::string(id), ns("System"));
    apps->set("com.apple.MobileSMS", ns("Messages"));
    apps->set("com.apple.SPRINGBOARD", ns("Case differs")); // membership is case-sensitive
    EXPECT_EQ(apps->count(), 55u);
    EXPECT_EQ(listed_app_identifiers(*apps),
              (std::vector<std::string>{"com.apple.SPRINGBOARD", "com.apple.MobileSMS"}));
}

} // namespace
