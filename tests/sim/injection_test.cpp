#include <gtest/gtest.h>

#include "sim/injection/InjectionLoader.h"

using namespace zimtone::sim;

TEST(InjectionFilter, ExactCaseSensitiveMatch) {
    std::vector<std::string> bundles{"com.apple.springboard", "com.apple.mobilesms.notification"};
    EXPECT_TRUE(filter_matches(bundles, "com.apple.springboard"));
    EXPECT_TRUE(filter_matches(bundles, "com.apple.mobilesms.notification"));
    EXPECT_FALSE(filter_matches(bundles, "com.apple.SpringBoard"));
    EXPECT_FALSE(filter_matches(bundles, "com.apple.Preferences"));
    EXPECT_FALSE(filter_matches({}, "com.apple.springboard"));
}
