// `zimtone serve` starts its home screen following the settings: a banner on screen when the
// Settings app saves a change wears the new colour at once, and the page gets the new frame.
#include <gtest/gtest.h>

#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "sim/launcher/JsonValues.h"
#include "tests/serve/ServeProcess.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace zimtone::testing::serve;

// The tint of the banner on screen (its colour backdrop), null while there is none.
json banner_tint(const json& view) {
    if (view["class"] == "SBBannerContextView")
        for (const auto& sub : view["subviews"])
            if (sub["class"] == "_UIBackdropView" && sub.contains("tint"))
                return sub["tint"];
    for (const auto& sub : view["subviews"])
        if (auto tint = banner_tint(sub); !tint.is_null())
            return tint;
    return nullptr;
}

bool is_grey(const json& colour) {
    return colour.is_array() && colour.size() == 4 && colour[0] == colour[1] && colour[1] == colour[2];
}

// The next frame after `since` the page gets, as its PNG bytes; empty when none came in time.
std::string next_frame(const ServeProcess& serve, uint64_t since, uint64_t* sequence) {
    auto deadline = std::chrono::steady_clock::now() + kChangeBound;
    while (std::chrono::steady_clock::now() < deadline) {
        auto res = serve.client().Get(("/api/frame?since=" + std::to_string(since)).c_str());
        if (res && res->status == 200) {
            *sequence = std::stoull(res->get_header_value("X-Frame-Sequence"));
            return res->body;
        }
    }
    return {};
}

TEST(ServeFollowsSettings, ABannerOnScreenTakesASavedChangeAtOnce) {
    zimtone::testing::TempDevice device;
    ServeProcess serve(device.root());
    ASSERT_GT(serve.port(), 0) << serve.errors();
    ASSERT_EQ(wait_for_host(serve, "springboard", [](const json& h) { return h["state"] == "up"; })["state"],
              "up");

    auto shown = post_action(
        serve,
        {{"action", "bulletin"}, {"app", "com.apple.weather"}, {"title", "Weather"}, {"message", "Rain"}});
    ASSERT_TRUE(shown && shown->status == 200) << (shown ? shown->body : "no answer");
    json before = banner_tint(ask_host(device.root(), "springboard", "dump")["screen"]);
    ASSERT_TRUE(before.is_array()) << "no banner came down";
    ASSERT_FALSE(is_grey(before)) << "the weather icon's colour is no grey";
    uint64_t sequence = 0;
    std::string first = next_frame(serve, 0, &sequence);
    ASSERT_FALSE(first.empty());

    // What the Settings app does on a change: write the file, post the group's notification.
    ASSERT_TRUE(platform::foundation::write_property_list_file(
        zimtone::settings::kSettingsFile, zimtone::sim::object_from_json({{"BannerSaturation", 0.0}})));
    platform::foundation::CFNotificationCenterPostNotification(
        platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(),
        zimtone::settings::notifications::kLoadBanner, nullptr, nullptr, true);

    json after;
    auto deadline = std::chrono::steady_clock::now() + kChangeBound;
    while (!is_grey(after) && std::chrono::steady_clock::now() < deadline) {
        after = banner_tint(ask_host(device.root(), "springboard", "dump")["screen"]);
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(is_grey(after)) << "the banner still wears " << after << " after saturation 0 was saved";
    std::string second = next_frame(serve, sequence, &sequence);
    EXPECT_FALSE(second.empty());
    EXPECT_NE(second, first);
    EXPECT_EQ(serve.terminate(), 0) << serve.errors();
}

} // namespace
