// A banner's life in a running home screen: set up once, the host's background kept away on
// every layout pass, colour cycling from presentation to dismissal, and the master switch.
#include <cmath>

#include <gtest/gtest.h>

#include "platform/PlatformClasses.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/SBBannerController.h"
#include "platform/springboard/SBBulletinBannerItem.h"
#include "platform/uikit/ViewDump.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/SurfaceHosts.h"
#include "tests/banner/banner_host_support.h"
#include "tests/support/ChildProcess.h"
#include "tweak/Startup.h"

using namespace zimtone::testing;
using namespace platform::runtime;
using namespace platform::springboard;

namespace {

constexpr int kTintStyle = 3900;

std::vector<json> backdrops_of_style(const json& banner, int style) {
    std::vector<json> found;
    for (const auto& backdrop : find_views(banner, "_UIBackdropView"))
        if (backdrop["style"] == style)
            found.push_back(backdrop);
    return found;
}

json tint_of(const json& dump) {
    return backdrops_of_style(banner_of(dump), kTintStyle).at(0)["tint"];
}

// A cycling colour: channels n/256 with n in 0...255, alpha 1.
void expect_cycling_colour(const json& colour) {
    ASSERT_EQ(colour.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        double channel = colour[i].get<double>();
        EXPECT_GE(channel, 0.0);
        EXPECT_LT(channel, 1.0);
        EXPECT_EQ(channel * 256, std::floor(channel * 256)) << "channel " << i << " = " << channel;
    }
    EXPECT_EQ(colour[3], 1.0);
}

// In a child process with the home screen's classes and the tweak started as a host starts it:
// a banner for the first app comes down, then its view is given a context for the second app.
// With `forget_backdrop` the view's added backdrop property is cleared in between. Reports the
// tint backdrops the view holds, the colour-cycling timers aimed at it, and the first tint.
json second_context_on_one_view(const char* first_app, const char* second_app, bool forget_backdrop) {
    auto result = run_in_child([&] {
        BannerDevice device(json({{"BannersUnicornEnabled", true}}));
        platform::register_platform_classes();
        zimtone::sim::HostProcess host("springboard", "com.apple.springboard");
        zimtone::sim::set_up_screen(host);
        zimtone::sim::set_up_banner_host(host);
        if (!zimtone::tweak::start().banner)
            return std::string("{}");
        auto& banners = SBBannerController::shared();
        banners.present(
            SBBulletinBannerItem::with_bulletin(BBBulletin::make(first_app, "One", "First").get()).get());
        Ref<SBBannerContextView> view(banners.banner_view());
        auto tints = [&] {
            json found = json::array();
            for (const auto& subview : view->subview_list())
                if (auto* backdrop = dynamic_cast<platform::uikit::UIBackdropView*>(subview.get());
                    backdrop && backdrop->style() == kTintStyle)
                    found.push_back(platform::uikit::dump_colour(backdrop->inputSettings()->colorTint()));
            return found;
        };
        const json first_tint = tints().at(0);
        if (forget_backdrop) {
            Object* none = nullptr;
            msg(view.get(), "setTestBlur:"_sel, none);
        }
        auto second = SBUIBannerContext::with_item(
            SBBulletinBannerItem::with_bulletin(BBBulletin::make(second_app, "Two", "Second").get()).get());
        msg(view.get(), "setBannerContext:withReplaceReason:"_sel, static_cast<Object*>(second.get()),
            int64_t{0});
        int timers = 0;
        for (const auto& timer : platform::foundation::RunLoop::main().timers())
            if (timer.target.get() == view.get())
                ++timers;
        return json({{"first", first_tint}, {"tints", tints()}, {"timers", timers}}).dump();
    });
    EXPECT_EQ(result.exit_code, 0);
    return json::parse(result.output, nullptr, false);
}

} // namespace

TEST(BannerSetup, ASecondContextOnTheSameViewAddsNoSecondBackdropNorTimer) {
    // A dark icon first, a light one second, so that a second set-up would show in the tint.
    auto view = second_context_on_one_view("com.example.zebra", "com.apple.mobilenotes", false);
    ASSERT_TRUE(view.contains("tints")) << view.dump();
    EXPECT_EQ(view["tints"], json::array({view["first"]})) << "one backdrop, still the first app's tint";
    EXPECT_EQ(view["timers"], 1);

    // Only the backdrop marks a view as set up; the running timer still keeps a second one away.
    auto forgotten = second_context_on_one_view("com.example.zebra", "com.apple.mobilenotes", true);
    ASSERT_TRUE(forgotten.contains("tints")) << forgotten.dump();
    EXPECT_EQ(forgotten["tints"].size(), 2u) << "set up again behind the first backdrop";
    EXPECT_EQ(forgotten["timers"], 1);
}

TEST(BannerSetup, OneTintPerViewAndTheHostBackgroundGoneOnEveryLayoutPass) {
    BannerDevice device;
    device.run("bulletin com.example.zebra Zebra Stripes");
    for (int pass = 0; pass < 3; ++pass) {
        SCOPED_TRACE(pass);
        device.run("layout");
        auto banner = banner_of(device.run("dump"));
        auto backdrops = find_views(banner, "_UIBackdropView");
        ASSERT_EQ(backdrops.size(), 1u) << "one tint backdrop and no host background: " << banner.dump();
        EXPECT_EQ(backdrops[0]["style"], kTintStyle);
    }
    // The host puts its background back whenever a layout pass finds it gone: with the switch
    // turned off at run time, the next pass keeps it, behind the tint the banner already has.
    device.reload_settings({{"BannersEnabled", false}});
    device.run("layout");
    auto banner = banner_of(device.run("dump"));
    EXPECT_EQ(backdrops_of_style(banner, kTintStyle).size(), 1u);
    EXPECT_EQ(find_views(banner, "_UIBackdropView").size(), 2u);
}

TEST(BannerSetup, NothingIsColouredOnceTheMasterSwitchIsOffAtRunTime) {
    BannerDevice device;
    device.run("bulletin com.apple.MobileSMS Anna Lunch?");
    auto coloured = banner_of(device.run("dump"));
    device.run("dismiss");

    device.reload_settings({{"BannersEnabled", false}});
    device.run("bulletin com.apple.MobileSMS Anna Lunch?");
    device.run("layout");
    auto plain = banner_of(device.run("dump"));
    // Every element shows what the host drew: compare with the host's own look element by element.
    EXPECT_TRUE(backdrops_of_style(plain, kTintStyle).empty());
    ASSERT_EQ(find_views(plain, "_UIBackdropView").size(), 1u);
    auto date = find_view(find_view(plain, "SBDefaultBannerTextView"), "UILabel");
    EXPECT_EQ(date["layer"]["compositingFilter"], "plusL");
    auto grabber = plain["subviews"].back();
    EXPECT_EQ(grabber["layer"]["compositingFilter"], "plusD");
    for (const auto& button : find_views(plain, "SBNotificationVibrantButton"))
        EXPECT_EQ(find_views(button, "UIButton").size(), 2u) << "the vibrant copy stays";
    auto strings = find_view(plain, "SBDefaultBannerTextView")["strings"];
    auto coloured_strings = find_view(coloured, "SBDefaultBannerTextView")["strings"];
    EXPECT_NE(strings["primary"]["runColours"], coloured_strings["primary"]["runColours"]);
    EXPECT_NE(date["textColor"],
              find_view(find_view(coloured, "SBDefaultBannerTextView"), "UILabel")["textColor"]);
}

TEST(BannerCycling, OneTimerTicksEveryHalfSecondWithRandomTintsUntilDismissal) {
    BannerDevice device(json({{"BannersUnicornEnabled", true}, {"AllowSaturation", false}}));
    device.run("bulletin com.apple.weather Weather Rain");
    device.run("layout");
    device.run("layout");
    auto dump = device.run("dump");
    auto timers = timers_of(dump, "SBBannerContextView");
    ASSERT_EQ(timers.size(), 1u) << dump["timers"].dump();
    EXPECT_EQ(timers[0]["interval"], 0.5);
    EXPECT_EQ(timers[0]["repeats"], true);
    EXPECT_EQ(timers[0]["holder"], "NSTimer");
    EXPECT_EQ(timers[0]["fireDate"], dump["now"].get<double>() + 0.5);
    const json first = tint_of(dump);
    EXPECT_EQ(first, icon_colour("com.apple.weather"));

    device.run("advance 0.49");
    EXPECT_EQ(tint_of(device.run("dump")), first) << "no tick before half a second";
    json previous = first;
    int changes = 0;
    for (int tick = 0; tick < 6; ++tick) {
        SCOPED_TRACE(tick);
        device.run(tick == 0 ? "advance 0.01" : "advance 0.5");
        auto now = device.run("dump");
        ASSERT_EQ(timers_of(now, "SBBannerContextView").size(), 1u);
        auto tint = tint_of(now);
        expect_cycling_colour(tint);
        EXPECT_EQ(backdrops_of_style(banner_of(now), kTintStyle)[0]["tintAlpha"], 1.0)
            << "ticks keep the opacity";
        if (tint != previous)
            ++changes;
        previous = tint;
    }
    EXPECT_GE(changes, 5) << "each tick draws a new colour";

    device.run("dismiss");
    EXPECT_TRUE(timers_of(device.run("dump"), "SBBannerContextView").empty());
}

TEST(BannerCycling, SaturationStepAppliesToEveryTick) {
    BannerDevice device(json({{"BannersUnicornEnabled", true}, {"BannerSaturation", 0.0}}));
    device.run("bulletin com.apple.weather Weather Rain");
    for (int tick = 0; tick < 4; ++tick) {
        device.run("advance 0.5");
        auto tint = tint_of(device.run("dump"));
        EXPECT_EQ(tint[0], tint[1]) << tint.dump();
        EXPECT_EQ(tint[1], tint[2]) << tint.dump();
    }
}

TEST(BannerController, BannersWaitTheirTurnAndLeaveAfterFiveSeconds) {
    BannerDevice device;
    EXPECT_EQ(device.run("bulletin com.example.zebra One First")["banner"], "shown");
    auto second = device.run("bulletin com.apple.mobilenotes Two Second");
    EXPECT_EQ(second["banner"], "queued");
    EXPECT_EQ(second["waiting"], 1);
    EXPECT_EQ(timers_of(device.run("dump"), "SBBannerController").size(), 1u);

    device.run("advance 4.9");
    EXPECT_EQ(banner_of(device.run("dump"))["bulletin"]["sectionID"], "com.example.zebra");
    device.run("advance 0.1");
    auto dump = device.run("dump");
    EXPECT_EQ(banner_of(dump)["bulletin"]["sectionID"], "com.apple.mobilenotes");
    EXPECT_EQ(find_views(dump["screen"], "SBBannerContextView").size(), 1u) << "the first banner has left";
    device.run("advance 5");
    dump = device.run("dump");
    EXPECT_TRUE(banner_of(dump).is_null());
    EXPECT_TRUE(dump["timers"].empty());
}

TEST(BannerCommands, RefuseBadInputWithAClearError) {
    BannerDevice device;
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"bulletin com.example.zebra OnlyATitle",
         "bulletin takes an app identifier, a title, a message and an optional subtitle"},
        {"bulletin com.example.zebra a b c d",
         "bulletin takes an app identifier, a title, a message and an optional subtitle"},
        {"bulletin com.example.nothere Title Message",
         "no installed app has the bundle identifier 'com.example.nothere' (see 'apps')"},
        {"bulletin com.example.zebra \xff\xfe Message", "bulletin texts must be UTF-8"},
        {"dismiss", "no banner is on screen"},
        {"dismiss now", "dismiss takes no arguments"},
        {"apps all", "apps takes no arguments"},
        {"advance 5s", "advance takes a number of seconds between 0 and 86400"},
    };
    for (const auto& c : cases) {
        auto answer = device.host().command(c.line);
        EXPECT_EQ(answer["ok"], false) << c.line;
        EXPECT_EQ(answer["error"], c.error) << c.line;
    }
    // An unknown command that is not even UTF-8 is refused too, and the host keeps serving.
    EXPECT_EQ(device.host().command("\xff\xfe")["ok"], false);
    EXPECT_TRUE(banner_of(device.run("dump")).is_null());
    auto apps = device.run("apps")["apps"];
    EXPECT_EQ(apps.size(), 17u) << "the 22 sample apps but the home screen and four system services";
    EXPECT_EQ(std::find_if(apps.begin(), apps.end(),
                           [](const auto& app) { return app["bundle"] == "com.apple.springboard"; }),
              apps.end());
}

// A case-sensitive sort, or one by identifier, would put "apple Notes" and "maps" elsewhere.
// Messages heads the list; the home screen itself and the system services that lend their views
// to others (the Messages extension, web apps, CloudKit sharing, Google sign-in) are no apps to
// notify from.
TEST(BannerCommands, AppsAreListedMessagesFirstThenByDisplayNameRegardlessOfCase) {
    BannerDevice device;
    auto apps = device.run("apps")["apps"];
    std::vector<std::string> names;
    for (const auto& app : apps)
        names.push_back(app["name"]);
    const std::vector<std::string> expected{
        "Messages", "apple Notes", "Calculator", "Camera",  "Ghost",      "iTunes Store",
        "Mail",     "maps",        "Moonlight",  "Phone",   "Plain Text", "Retro Arcade",
        "Safari",   "Settings",    "sticker",    "Weather", "Zebra"};
    EXPECT_EQ(names, expected);
    auto messages =
        std::find_if(apps.begin(), apps.end(), [](const auto& app) { return app["name"] == "Messages"; });
    ASSERT_NE(messages, apps.end());
    EXPECT_EQ((*messages)["bundle"], "com.apple.MobileSMS");
}
