#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIApplication.h"

using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::ns;
using platform::foundation::NSString;
using platform::foundation::NSURL;

TEST(URL, OnlyAbsoluteUrlsWithUrlCharactersAreAccepted) {
    struct Case {
        const char* text;
        const char* scheme; // nullptr: no URL
    };
    const std::vector<Case> cases{
        {"tweetbot://", "tweetbot"},
        {"tweetbot:///user_profile/someone", "tweetbot"},
        {"twitterrific:///profile?screen_name=a_b", "twitterrific"},
        {"HTTPS://mobile.twitter.com/x", "HTTPS"},
        {"x-app+v1.2:rest", "x-app+v1.2"},
        {"mailto:a%20b@example.com", "mailto"},
        {"twitter://user?screen_name=two words", nullptr},
        {"https://example.com/\"quoted\"", nullptr},
        {"https://example.com/é", nullptr},
        {"https://example.com/%zz", nullptr},
        {"https://example.com/%2", nullptr},
        {"no-scheme-here", nullptr},
        {":empty-scheme", nullptr},
        {"1abc:digit-first", nullptr},
        {"sch eme:x", nullptr},
        {"", nullptr},
    };
    for (const auto& tc : cases) {
        auto url = msg<Ref<NSURL>>(NSURL::runtime_class(), "URLWithString:"_sel, ns(tc.text));
        if (!tc.scheme) {
            EXPECT_FALSE(url) << tc.text;
            continue;
        }
        ASSERT_TRUE(url) << tc.text;
        EXPECT_EQ(msg<Ref<NSString>>(url, "scheme"_sel)->str(), tc.scheme);
        EXPECT_EQ(msg<Ref<NSString>>(url, "absoluteString"_sel)->str(), tc.text);
    }
    EXPECT_FALSE(
        msg<Ref<NSURL>>(NSURL::runtime_class(), "URLWithString:"_sel, static_cast<Object*>(nullptr)));
}

TEST(Application, OpensOnlyUrlsOfInstalledSchemesAndRecordsThem) {
    auto app = msg<Ref<UIApplication>>(UIApplication::runtime_class(), "sharedApplication"_sel);
    ASSERT_TRUE(app);
    EXPECT_EQ(app.get(), &UIApplication::shared()) << "one application per process";
    app->installed_url_schemes.insert("tweetbot");
    app->opened_urls.clear();

    EXPECT_TRUE(msg<bool>(app, "canOpenURL:"_sel, NSURL::URLWithString("tweetbot://")));
    EXPECT_TRUE(msg<bool>(app, "canOpenURL:"_sel, NSURL::URLWithString("TweetBot://")))
        << "schemes ignore case";
    EXPECT_FALSE(msg<bool>(app, "canOpenURL:"_sel, NSURL::URLWithString("twitter://")));
    EXPECT_FALSE(msg<bool>(app, "canOpenURL:"_sel, static_cast<Object*>(nullptr)));

    EXPECT_TRUE(msg<bool>(app, "openURL:"_sel, NSURL::URLWithString("tweetbot:///user_profile/a")));
    EXPECT_FALSE(msg<bool>(app, "openURL:"_sel, NSURL::URLWithString("twitter://user?screen_name=a")));
    EXPECT_TRUE(msg<bool>(app, "openURL:"_sel, NSURL::URLWithString("https://mobile.twitter.com/a")))
        << "a device always has its browser";
    EXPECT_EQ(app->opened_urls,
              (std::vector<std::string>{"tweetbot:///user_profile/a", "https://mobile.twitter.com/a"}));
    app->installed_url_schemes.erase("tweetbot");
    app->opened_urls.clear();
}

TEST(Application, RelaunchRunsTheHostHandlerWhenThereIsOne) {
    auto& app = UIApplication::shared();
    app.on_relaunch_springboard = nullptr;
    msg(&app, "_relaunchSpringBoardNow"_sel); // no handler: nothing happens

    int relaunches = 0;
    app.on_relaunch_springboard = [&] { ++relaunches; };
    msg(&app, "_relaunchSpringBoardNow"_sel);
    EXPECT_EQ(relaunches, 1);
    app.on_relaunch_springboard = nullptr;
}
