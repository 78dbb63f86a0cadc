#include <gtest/gtest.h>

#include <set>

#include "platform/foundation/NSString.h"
#include "prefs/profile_links.h"

namespace {

TEST(ProfileLinks, FirstInstalledClientElseTheWeb) {
    struct Case {
        std::set<std::string> installed;
        const char* expected;
    } cases[] = {
        {{}, "https://mobile.twitter.com/mossglint"},
        {{"twitter://"}, "twitter://user?screen_name=mossglint"},
        {{"twitterrific://", "twitter://"}, "twitterrific:///profile?screen_name=mossglint"},
        {{"tweetbot://", "twitter://"}, "tweetbot:///user_profile/mossglint"},
        {{"tweetbot://", "twitterrific://", "twitter://"}, "tweetbot:///user_profile/mossglint"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> asked;
        auto url = zimtone::prefs::profile_url("mossglint", [&](const std::string& probe) {
            asked.push_back(probe);
            return c.installed.count(probe) > 0;
        });
        EXPECT_EQ(url, c.expected);
        EXPECT_EQ(asked.front(), "tweetbot://") << "Tweetbot is asked first";
    }
}

} // namespace
