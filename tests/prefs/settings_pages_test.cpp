#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/SettingsFile.h"
#include "platform/preferences/SLComposeViewController.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/controllers/UIAlertController.h"
#include "platform/uikit/controllers/UINavigationItem.h"
#include "settings/Keys.h"
#include "tests/prefs/PaneDevice.h"

namespace {

using namespace platform::runtime;
using platform::foundation::NSNumber;
using platform::preferences::PSIndexPath;
using platform::preferences::PSListController;
using platform::preferences::PSSpecifier;
using zimtone::testing::NotificationLog;
using zimtone::testing::PaneDevice;
namespace notifications = zimtone::settings::notifications;

Ref<Object> read(PSListController* page, int64_t row) {
    return msg<Ref<Object>>(page, "readPreferenceValue:"_sel,
                            static_cast<Object*>(page->specifier_at(row).get()));
}

void write(PSListController* page, int64_t row, Ref<Object> value) {
    msg(page, "setPreferenceValue:specifier:"_sel, static_cast<Object*>(value.get()),
        static_cast<Object*>(page->specifier_at(row).get()));
}

Ref<Object> value_for(const zimtone::settings::KeyInfo& key) {
    return key.type == zimtone::settings::KeyType::Bool ? Ref<Object>(NSNumber::numberWithBool(false))
                                                        : Ref<Object>(NSNumber::numberWithDouble(0.25));
}

bool respring_shown(PaneDevice& device) {
    return device.root()->navigationItem()->leftBarButtonItem() != nullptr;
}

TEST(SettingsPages, ReadShowsTheFilesValueFalseAndZeroIncludedElseTheDefault) {
    PaneDevice device;
    device.write_settings("<key>BannersEnabled</key><false/><key>BannerAlpha</key><real>0</real>");
    auto* banner = device.open("Zimtone2BannerSettings");
    struct Case {
        const char* key;
        double expected;
    } cases[] = {{"BannersEnabled", 0},
                 {"BannerAlpha", 0},
                 {"AllowSaturation", 1},
                 {"BannerSaturation", 1},
                 {"BannersUnicornEnabled", 0}};
    for (const auto& c : cases) {
        auto value = read(banner, PaneDevice::row_of_key(banner, c.key));
        auto* number = dynamic_cast<NSNumber*>(value.get());
        ASSERT_NE(number, nullptr) << c.key;
        EXPECT_EQ(number->doubleValue(), c.expected) << c.key;
    }
}

TEST(SettingsPages, EveryKeyRowCarriesItsDefaultAndItsGroupsReloadNotification) {
    PaneDevice device;
    std::set<std::string> seen;
    for (const char* page_class : {"Zimtone2BannerSettings", "Zimtone2NotificationSettings",
                                   "Zimtone2LockscreenSettings", "Zimtone2Requests"}) {
        auto* page = device.open(page_class);
        auto list = msg<Ref<platform::foundation::NSArray>>(page, "specifiers"_sel);
        for (auto& item : list->items()) {
            auto* s = dynamic_cast<PSSpecifier*>(item.get());
            const std::string* key = s->string_property("key");
            if (!key)
                continue;
            auto info = zimtone::settings::find_key(*key);
            ASSERT_TRUE(info) << *key;
            seen.insert(*key);
            auto* fallback = dynamic_cast<NSNumber*>(s->properties()->get("default").get());
            ASSERT_NE(fallback, nullptr) << *key;
            EXPECT_EQ(fallback->doubleValue(), info->default_value) << *key;
            ASSERT_NE(s->string_property("PostNotification"), nullptr) << *key;
            EXPECT_EQ(*s->string_property("PostNotification"),
                      zimtone::settings::reload_notification(info->group))
                << *key;
        }
        device.navigation()->popViewControllerAnimated(false);
    }
    EXPECT_EQ(seen.size(), zimtone::settings::kKeys.size()) << "every key has a row";
}

TEST(SettingsPages, TwoWritesFromDifferentPagesKeepBothKeys) {
    PaneDevice device;
    auto* banner = device.open("Zimtone2BannerSettings");
    write(banner, PaneDevice::row_of_key(banner, "BannerAlpha"), NSNumber::numberWithDouble(0.5));
    device.navigation()->popViewControllerAnimated(false);
    auto* lock = device.open("Zimtone2LockscreenSettings");
    write(lock, PaneDevice::row_of_key(lock, "LockscreenAlpha"), NSNumber::numberWithDouble(0.25));
    Ref<Object> banner_value = device.stored("BannerAlpha"), lock_value = device.stored("LockscreenAlpha");
    auto* alpha = dynamic_cast<NSNumber*>(banner_value.get());
    auto* lock_alpha = dynamic_cast<NSNumber*>(lock_value.get());
    ASSERT_TRUE(alpha && lock_alpha);
    EXPECT_EQ(alpha->doubleValue(), 0.5);
    EXPECT_EQ(lock_alpha->doubleValue(), 0.25);
}

// The file must already hold the new value when the prompt is asked for.
IMP g_activate = nullptr;
std::vector<std::string>* g_prompt_file_values = nullptr;
std::string g_prompt_key;
void recording_activate(Object* self, SEL sel) {
    if (g_prompt_file_values) {
        auto file = platform::foundation::read_dictionary_or_empty(zimtone::settings::kSettingsFile);
        g_prompt_file_values->push_back(file->get(g_prompt_key) ? "written" : "missing");
    }
    call_imp(g_activate, self, sel);
}

TEST(SettingsPages, RespringIsShownForExactlyTheRestartKeysAfterTheWrite) {
    PaneDevice device;
    std::vector<std::string> prompt_file_values;
    g_prompt_file_values = &prompt_file_values;
    MSHookMessageEx(objc_getClass("Zimtone2ListController"), "respringNeededActivate"_sel,
                    reinterpret_cast<IMP>(&recording_activate), &g_activate);
    NotificationLog log({notifications::kLoadBanner, notifications::kLoadNotificationCenter,
                         notifications::kLoadLockscreen, notifications::kLoadRequests});
    std::vector<std::string> expected_posts;
    size_t prompts = 0;
    for (const char* page_class : {"Zimtone2BannerSettings", "Zimtone2NotificationSettings",
                                   "Zimtone2LockscreenSettings", "Zimtone2Requests"}) {
        auto* page = device.open(page_class);
        for (const auto& key : zimtone::settings::kKeys) {
            int64_t row = PaneDevice::row_of_key(page, std::string(key.key));
            if (row < 0)
                continue;
            device.root()->navigationItem()->setLeftBarButtonItem(nullptr);
            g_prompt_key = std::string(key.key);
            write(page, row, value_for(key));
            EXPECT_EQ(respring_shown(device), key.needs_restart) << key.key;
            prompts += key.needs_restart;
            expected_posts.push_back(zimtone::settings::reload_notification(key.group));
            // Each write's notification is awaited, so none is dropped from a full socket.
            log.wait_for(expected_posts.size());
        }
        device.navigation()->popViewControllerAnimated(false);
    }
    g_prompt_file_values = nullptr;
    EXPECT_EQ(prompt_file_values, std::vector<std::string>(prompts, "written"));
    EXPECT_EQ(log.wait_for(expected_posts.size()), expected_posts);
}

TEST(SettingsPages, TheRespringButtonIsAPlainButtonThatPostsTheRestart) {
    PaneDevice device;
    auto* requests = device.open("Zimtone2Requests");
    write(requests, PaneDevice::row_of_key(requests, "EffectToday"), NSNumber::numberWithBool(false));
    auto* item = device.root()->navigationItem()->leftBarButtonItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->title()->str(), "Respring");
    EXPECT_EQ(item->style(), platform::uikit::UIBarButtonItemStylePlain);
    EXPECT_EQ(item->target(), device.root());
    NotificationLog log({notifications::kRespring});
    item->tap();
    EXPECT_EQ(log.wait_for(1), std::vector<std::string>{notifications::kRespring});
    EXPECT_EQ(device.root()->navigationItem()->leftBarButtonItem(), item) << "the button stays";
}

TEST(SettingsPages, TestButtonsPostTheirTestNotifications) {
    PaneDevice device;
    device.write_settings("<key>BannersEnabled</key><false/><key>LockscreenEnabled</key><false/>");
    NotificationLog log({notifications::kTestBanner, notifications::kTestLockscreenBanner});
    for (const char* page_class : {"Zimtone2BannerSettings", "Zimtone2LockscreenSettings"}) {
        auto* page = device.open(page_class);
        auto list = msg<Ref<platform::foundation::NSArray>>(page, "specifiers"_sel);
        for (uint64_t i = 0; i < list->count(); ++i)
            if (dynamic_cast<PSSpecifier*>(list->objectAtIndex(i).get())->cellType() ==
                platform::preferences::PSButtonCell)
                msg(page, "tableView:didSelectRowAtIndexPath:"_sel, static_cast<Object*>(nullptr),
                    static_cast<Object*>(PSIndexPath::indexPathForRow(static_cast<int64_t>(i), 0).get()));
        device.navigation()->popViewControllerAnimated(false);
    }
    EXPECT_EQ(log.wait_for(2),
              (std::vector<std::string>{notifications::kTestBanner, notifications::kTestLockscreenBanner}));
}

TEST(SettingsPages, RootLinksPushEachSettingsPageDirectlyAboveIt) {
    PaneDevice device;
    for (const char* page_class :
         {"Zimtone2BannerSettings", "Zimtone2NotificationSettings", "Zimtone2LockscreenSettings",
          "Zimtone2Requests", "Zimtone2ApplicationSelector", "Zimtone2Credits"}) {
        auto* root = device.root();
        auto list = msg<Ref<platform::foundation::NSArray>>(root, "specifiers"_sel);
        int64_t row = -1;
        for (uint64_t i = 0; i < list->count(); ++i) {
            auto* s = dynamic_cast<PSSpecifier*>(list->objectAtIndex(i).get());
            if (s->detailControllerClass() == objc_getClass(page_class))
                row = static_cast<int64_t>(i);
        }
        ASSERT_GE(row, 0) << page_class;
        msg(root, "tableView:didSelectRowAtIndexPath:"_sel, static_cast<Object*>(nullptr),
            static_cast<Object*>(PSIndexPath::indexPathForRow(row, 0).get()));
        ASSERT_EQ(device.navigation()->stack().size(), 2u) << page_class;
        EXPECT_STREQ(class_getName(device.navigation()->topViewController()->isa()), page_class);
        device.navigation()->popViewControllerAnimated(false);
    }
}

TEST(SettingsPages, TheHeartButtonOpensTheShareSheetWhenTwitterIsAvailable) {
    using platform::preferences::SLComposeViewController;
    PaneDevice device;
    msg<Ref<platform::foundation::NSArray>>(device.root(), "specifiers"_sel);
    auto* items = device.root()->navigationItem()->rightBarButtonItems();
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->count(), 2u);
    auto* space = dynamic_cast<platform::uikit::UIBarButtonItem*>(items->objectAtIndex(0).get());
    auto* heart = dynamic_cast<platform::uikit::UIBarButtonItem*>(items->objectAtIndex(1).get());
    ASSERT_TRUE(space && heart);
    EXPECT_EQ(space->system_item(), platform::uikit::UIBarButtonSystemItemFixedSpace);
    EXPECT_EQ(space->width(), 0);
    auto* button = dynamic_cast<platform::uikit::UIButton*>(heart->customView());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->frame().size.width, 20);
    EXPECT_NE(button->backgroundImageForState(platform::uikit::UIControlStateNormal), nullptr);

    SLComposeViewController::available_services().clear();
    heart->tap();
    EXPECT_EQ(device.navigation()->presentedViewController(), nullptr) << "no account: nothing happens";

    SLComposeViewController::available_services().insert(platform::preferences::SLServiceTypeTwitter);
    heart->tap();
    auto* sheet = dynamic_cast<SLComposeViewController*>(device.navigation()->presentedViewController());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->initial_text(), "Check out Zimtone 2 on Cydia, it rocks! #Zimtone2 @mossglint");
    EXPECT_EQ(sheet->urls(), std::vector<std::string>{"cydia://package/org.quillhaven.zimtone2"});
    EXPECT_EQ(sheet->image_count(), 0u);
}

TEST(SettingsPages, TheRootPageGoesWithItsNavigationAndItsHeartButtonThenDoesNothing) {
    Ref<PSListController> page;
    Ref<platform::uikit::UIButton> button;
    {
        PaneDevice device;
        msg<Ref<platform::foundation::NSArray>>(device.root(), "specifiers"_sel);
        page = device.root();
        auto* items = device.root()->navigationItem()->rightBarButtonItems();
        ASSERT_NE(items, nullptr);
        ASSERT_EQ(items->count(), 2u);
        auto* heart = dynamic_cast<platform::uikit::UIBarButtonItem*>(items->objectAtIndex(1).get());
        ASSERT_NE(heart, nullptr);
        button = dynamic_cast<platform::uikit::UIButton*>(heart->customView());
        ASSERT_NE(button, nullptr);
    }
    // The page owns the button through its navigation item; the button must not own the page.
    EXPECT_EQ(page->retain_count(), 1) << "something the page owns keeps it alive";
    page = nullptr;
    auto& services = platform::preferences::SLComposeViewController::available_services();
    const auto before = services;
    services.insert(platform::preferences::SLServiceTypeTwitter);
    button->send_actions(platform::uikit::UIControlEventTouchUpInside); // reaches no page now
    services = before;
}

TEST(SettingsPages, AWriteWithNoValueOrFromARowWithoutAKeyChangesNothing) {
    PaneDevice device;
    NotificationLog log({notifications::kLoadBanner});
    auto* banner = device.open("Zimtone2BannerSettings");
    // A key that asks for a restart and posts its group's reload: neither may follow.
    const int64_t row = PaneDevice::row_of_key(banner, "BannersEnabled");
    ASSERT_GE(row, 0);
    ASSERT_NE(banner->specifier_at(row)->string_property("PostNotification"), nullptr);
    write(banner, row, nullptr);
    banner->specifier_at(row)->properties()->removeObjectForKey(platform::foundation::ns("key").get());
    write(banner, row, NSNumber::numberWithBool(false));
    EXPECT_EQ(device.settings_bytes(), "") << "no settings file was made";
    EXPECT_FALSE(respring_shown(device));
    EXPECT_TRUE(log.settle().empty());
}

TEST(SettingsPages, AFailedWriteIsShownWithTheValueTheFileHolds) {
    PaneDevice device;
    device.write_settings("<key>BannerAlpha</key><real>0.5</real>");
    // A directory where the writers' lock file belongs makes every write fail.
    std::filesystem::create_directories(platform::foundation::resolve_device_path(
        platform::foundation::FileLock::lock_device_path(zimtone::settings::kSettingsFile)));
    NotificationLog log({notifications::kLoadBanner});
    auto* banner = device.open("Zimtone2BannerSettings");
    write(banner, PaneDevice::row_of_key(banner, "BannerAlpha"), NSNumber::numberWithDouble(0.2));
    auto* alert = dynamic_cast<platform::uikit::UIAlertController*>(banner->presentedViewController());
    ASSERT_NE(alert, nullptr);
    EXPECT_NE(alert->message()->str().find("BannerAlpha"), std::string::npos) << alert->message()->str();
    EXPECT_NE(alert->message()->str().find("holds 0.5"), std::string::npos) << alert->message()->str();
    EXPECT_EQ(dynamic_cast<NSNumber*>(device.stored("BannerAlpha").get())->doubleValue(), 0.5);
    EXPECT_EQ(dynamic_cast<NSNumber*>(read(banner, PaneDevice::row_of_key(banner, "BannerAlpha")).get())
                  ->doubleValue(),
              0.5);
    EXPECT_EQ(log.wait_for(1).size(), 1u) << "the notification still follows";
}

// A file that cannot be read is not replaced: the failed-write alert says so, the file keeps its
// bytes, and the row shows its default meanwhile.
TEST(SettingsPages, AFileThatCannotBeReadIsLeftAsItIsAndTheAlertSaysSo) {
    PaneDevice device;
    device.write_settings("<key>BannerAlpha</key><real>0.5</real><key>Banner");
    const std::string before = device.settings_bytes();
    auto* banner = device.open("Zimtone2BannerSettings");
    const int64_t row = PaneDevice::row_of_key(banner, "BannerAlpha");
    write(banner, row, NSNumber::numberWithDouble(0.2));
    auto* alert = dynamic_cast<platform::uikit::UIAlertController*>(banner->presentedViewController());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(
        alert->message()->str(),
        std::string("Could not save BannerAlpha (cannot read ") + zimtone::settings::kSettingsFile +
            ": not a property list with a dictionary root). The settings file cannot be read, so it was "
            "left as it is.");
    EXPECT_EQ(device.settings_bytes(), before);
    EXPECT_EQ(dynamic_cast<NSNumber*>(read(banner, row).get())->doubleValue(), 1.0);
}

} // namespace
