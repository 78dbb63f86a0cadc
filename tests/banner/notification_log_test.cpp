// The home screen's notification log: each bulletin, newest first, with the colours its banner
// wore as the host's own view tree shows them, filled in when a queued banner comes down.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/banner/banner_host_support.h"

using namespace zimtone::testing;

namespace {

const char* const kMessages = "com.apple.MobileSMS";
const char* const kZebra = "com.example.zebra";

std::string hex_of(const json& colour) {
    char text[8];
    auto channel = [&](size_t i) {
        return static_cast<unsigned>(std::lround(colour[i].get<double>() * 255));
    };
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(0), channel(1), channel(2));
    return text;
}

// What the log should say of the banner on screen, read from a dump the way a person reading the
// tree would: the backdrop's tint at its tint alpha, and the first colour of the primary text.
void expect_colours_of_banner_on_screen(BannerDevice& device, const json& entry) {
    const json banner = banner_of(device.run("dump"));
    ASSERT_FALSE(banner.is_null());
    const json backdrop = find_view(banner, "_UIBackdropView");
    ASSERT_FALSE(backdrop.is_null());
    json tint = backdrop["tint"];
    tint[3] = tint[3].get<double>() * backdrop["tintAlpha"].get<double>();
    const json text = find_view(banner, "SBDefaultBannerTextView")["strings"]["primary"]["runColours"][0];
    EXPECT_EQ(entry["presented"], true);
    EXPECT_EQ(entry["background"], tint);
    EXPECT_EQ(entry["backgroundHex"], hex_of(tint));
    EXPECT_EQ(entry["textColour"], text);
    EXPECT_EQ(entry["textHex"], hex_of(text));
}

TEST(NotificationLog, EachBannerIsLoggedWithItsColoursAndAQueuedOneWhenItComesDown) {
    BannerDevice device(json{{"BannerAlpha", 0.5}});
    device.run("bulletin " + std::string(kZebra) + " First \"on screen\"");
    device.run("bulletin " + std::string(kMessages) + " Second \"in line\"");
    json log = device.run("log");
    ASSERT_EQ(log["entries"].size(), 2u);
    const json second = log["entries"][0];
    EXPECT_EQ(second["title"], "Second");
    EXPECT_EQ(second["message"], "in line");
    EXPECT_EQ(second["app"], kMessages);
    EXPECT_EQ(second["name"], "Messages");
    EXPECT_EQ(second["banner"], "queued");
    EXPECT_EQ(second["presented"], false);
    EXPECT_TRUE(second["background"].is_null() && second["textColour"].is_null()) << second.dump();
    const json first = log["entries"][1];
    EXPECT_EQ(first["title"], "First");
    EXPECT_EQ(first["banner"], "shown");
    expect_colours_of_banner_on_screen(device, first);
    EXPECT_DOUBLE_EQ(first["background"][3].get<double>(), as_stored(0.5));

    device.run("dismiss");
    log = device.run("log");
    EXPECT_EQ(log["entries"][0]["banner"], "queued") << "how it arrived stays";
    expect_colours_of_banner_on_screen(device, log["entries"][0]);
    EXPECT_NE(log["entries"][0]["background"], log["entries"][1]["background"]) << "each app its own tint";

    // The icons of the apps listed, once each, as PNG files.
    ASSERT_EQ(log["icons"].size(), 2u);
    for (const char* app : {kZebra, kMessages})
        EXPECT_EQ(log["icons"][app].get<std::string>().rfind("iVBORw0KGgo", 0), 0u) << app;
}

TEST(NotificationLog, AQueuedBannerThatExpiresIntoViewIsFilledInToo) {
    BannerDevice device;
    device.run("bulletin " + std::string(kZebra) + " One Two");
    device.run("bulletin " + std::string(kMessages) + " Three Four");
    device.run("advance 5.5");
    expect_colours_of_banner_on_screen(device, device.run("log")["entries"][0]);
}

TEST(NotificationLog, ABulletinOnTheLockedDeviceHasNoBannerAndSaysWhy) {
    BannerDevice device;
    device.run("lock");
    device.run("bulletin " + std::string(kMessages) + " Hello There");
    device.run("unlock");
    const json entry = device.run("log")["entries"][0];
    EXPECT_EQ(entry["banner"], "none, the device is locked");
    EXPECT_EQ(entry["presented"], false);
    EXPECT_TRUE(entry["background"].is_null()) << entry.dump();
}

TEST(NotificationLog, ABannerTheTweakLeavesAloneIsLoggedWithTheHostsOwnColours) {
    BannerDevice device(json{{"BannersEnabled", false}});
    device.run("bulletin " + std::string(kMessages) + " Hello There");
    const json entry = device.run("log")["entries"][0];
    EXPECT_EQ(entry["banner"], "shown");
    expect_colours_of_banner_on_screen(device, entry);
}

TEST(NotificationLog, KeepsTheNewestFiftyAndRefusesArguments) {
    BannerDevice device;
    for (int i = 0; i < 55; ++i)
        device.run("bulletin " + std::string(kMessages) + " T" + std::to_string(i) + " M");
    const json entries = device.run("log")["entries"];
    ASSERT_EQ(entries.size(), 50u);
    EXPECT_EQ(entries.front()["title"], "T54");
    EXPECT_EQ(entries.back()["title"], "T5");
    const json refused = device.host().command("log everything");
    EXPECT_EQ(refused["ok"], false);
    EXPECT_EQ(refused["error"], "log takes no arguments");
}

} // namespace
