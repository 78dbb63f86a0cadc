// A lock-screen notification shown again as a banner: its item has no seed bulletin of its own,
// so the banner is tinted from the item's icon under the identifier "Unknown". Built in this
// process with the home screen's classes and the tweak started as a host starts it.
#include <gtest/gtest.h>

#include "platform/PlatformClasses.h"
#include "platform/springboard/SBBannerController.h"
#include "platform/springboard/SBLockScreenNotificationBulletinBannerItem.h"
#include "platform/uikit/ViewDump.h"
#include "settings/Loaders.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/SurfaceHosts.h"
#include "tests/banner/banner_host_support.h"
#include "tweak/Startup.h"

using namespace zimtone::testing;
using namespace platform::springboard;
using namespace platform::runtime;

namespace {

json tint_of_banner_for(BBBulletin* bulletin) {
    auto item = SBLockScreenNotificationBulletinBannerItem::with_bulletin(bulletin);
    EXPECT_TRUE(msg<Ref<Object>>(item.get(), "seedBulletin"_sel) == nullptr)
        << "nobody set the added property";
    auto& banners = SBBannerController::shared();
    EXPECT_EQ(banners.present(item.get()), SBBannerController::Presentation::Shown);
    auto* tint =
        dynamic_cast<platform::uikit::UIBackdropView*>(banners.banner_view()->subview_list().at(0).get());
    json colour = tint ? platform::uikit::dump_colour(tint->inputSettings()->colorTint()) : json(nullptr);
    banners.dismiss(kBannerDismissedByUser);
    return colour;
}

} // namespace

TEST(LockScreenBannerItem, IsTintedFromItsIconUnderTheIdentifierUnknown) {
    BannerDevice device;
    platform::register_platform_classes();
    zimtone::sim::HostProcess host("springboard", "com.apple.springboard");
    zimtone::sim::set_up_screen(host);
    zimtone::sim::set_up_banner_host(host);
    ASSERT_TRUE(zimtone::tweak::start().banner);
    auto zebra = BBBulletin::make("com.example.zebra", "Zebra", "Stripes");

    const json orange =
        json::array({static_cast<double>(255.0f / 254.0f), static_cast<double>(136.0f / 254.0f), 0.0, 1.0});
    const struct {
        const char* name;
        json per_app_colours;
        json tint;
    } cases[] = {
        {"no per-app colours", json::array(), icon_colour("com.example.zebra")},
        {"the app's own entry does not apply", json::array({{{"com.example.zebra", "FF8800"}}}),
         icon_colour("com.example.zebra")},
        {"an entry for \"Unknown\" does", json::array({{{"Unknown", "FF8800"}}}), orange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        device.write_settings({{"SpecificAppColor", true},
                               {"AllowSaturation", false},
                               {"Specific_App_Color", c.per_app_colours}});
        zimtone::settings::loadBannerSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(tint_of_banner_for(zebra.get()), c.tint);
    }
}
