#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/PlatformClasses.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/messages/CKInlineReplyViewController.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "platform/uikit/keyboard/UIKBRenderConfig.h"
#include "platform/uikit/keyboard/UIKeyboardLayout.h"
#include "platform/uikit/keyboard/UIKeyboardPredictionCell.h"
#include "settings/Keys.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"
#include "tweak/Startup.h"

using namespace platform::runtime;
using namespace platform::uikit;
using namespace zimtone::testing;
using nlohmann::json;

namespace {

// Starts the tweak in a fresh child that has the keyboard and Messages classes but no
// home-screen classes, and reports what was installed and how the keyboard answers.
json start_with_keyboard_classes(const std::string& bundle_identifier) {
    auto result = run_in_child([&] {
        TempDevice device;
        platform::register_platform_classes();
        UIKBRenderConfig::runtime_class();
        UIKeyboardLayout::runtime_class();
        UIKeyboardPredictionCell::runtime_class();
        UIKBBlurredKeyView::runtime_class();
        platform::messages::CKInlineReplyViewController::runtime_class();
        platform::foundation::NSBundle::set_main_bundle_identifier(bundle_identifier);
        auto report = zimtone::tweak::start();
        return json{{"quick_reply", report.quick_reply},
                    {"replaced", report.counts.replaced},
                    {"added", report.counts.added},
                    {"light", msg<bool>(UIKBRenderConfig::defaultConfig(), "lightKeyboard"_sel)},
                    {"cycles", class_respondsToSelector(objc_getClass("UIKeyboardLayout"),
                                                        sel_registerName("changeBackgroundColor"))}}
            .dump();
    });
    EXPECT_EQ(result.exit_code, 0);
    return json::parse(result.output, nullptr, false);
}

void set_up_device(const TempDevice& device) {
    std::string command = (build_bin_dir() / "zimtone").string() + " --root " + device.root().string() +
                          " device init > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

} // namespace

TEST(QuickReplyStartup, GroupInstalledOnlyInTheMessagesExtension) {
    struct Row {
        const char* bundle;
        json expected;
    };
    const Row rows[] = {
        {"com.apple.mobilesms.notification",
         {{"quick_reply", true}, {"replaced", 8}, {"added", 7}, {"light", false}, {"cycles", true}}},
        // The keyboard classes exist on the home screen too, and stay the host's there.
        {"com.apple.springboard",
         {{"quick_reply", false}, {"replaced", 0}, {"added", 0}, {"light", true}, {"cycles", false}}},
        {"com.apple.MobileSMS.notification",
         {{"quick_reply", false}, {"replaced", 0}, {"added", 0}, {"light", true}, {"cycles", false}}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(start_with_keyboard_classes(row.bundle), row.expected) << row.bundle;
}

TEST(QuickReplyHost, ExtensionInstallsTheGroupAndTheHomeScreenDoesNot) {
    TempDevice device;
    set_up_device(device);
    HostUnderTest messages("messages", device.root());
    auto tweak = messages.command("tweak");
    ASSERT_EQ(tweak["ok"], true) << tweak.dump();
    EXPECT_EQ(tweak["groups"]["QuickReply"], true);
    EXPECT_EQ(tweak["replaced"], 8);
    EXPECT_EQ(tweak["added"], 7);
    EXPECT_EQ(messages.finish(), 0);

    HostUnderTest springboard("springboard", device.root());
    EXPECT_EQ(springboard.command("tweak")["groups"]["QuickReply"], false);
    EXPECT_EQ(springboard.finish(), 0);
}

TEST(QuickReplyHost, CommandsRefuseBadInputWithClearErrors) {
    TempDevice device;
    set_up_device(device);
    HostUnderTest messages("messages", device.root(), true);
    struct Row {
        const char* line;
        const char* error;
    };
    const Row rows[] = {
        {"reply", "reply takes a sender and a message, or 'close'"},
        {"reply Anna", "reply takes a sender and a message, or 'close'"},
        {"reply close", "no reply is open"},
        {"type hello", "no reply is open"},
        {"type", "type takes one text"},
    };
    for (const auto& row : rows) {
        auto answer = messages.command(row.line);
        EXPECT_EQ(answer["ok"], false) << row.line;
        EXPECT_EQ(answer["error"], row.error) << row.line;
    }
    ASSERT_EQ(messages.command("reply Anna \"Lunch?\"")["ok"], true);
    EXPECT_EQ(messages.command("reply Ben Hi")["error"],
              "a reply is already open; close it with 'reply close'");
    EXPECT_EQ(messages.finish(), 0);
}

TEST(QuickReplyHost, ReplyTypeAndCloseLeaveNoTimersBehind) {
    TempDevice device;
    set_up_device(device);
    auto settings = platform::foundation::NSMutableDictionary::create();
    settings->set("BannersUnicornEnabled", platform::foundation::NSNumber::numberWithBool(true));
    ASSERT_TRUE(platform::foundation::write_property_list_file(zimtone::settings::kSettingsFile, settings));

    HostUnderTest messages("messages", device.root(), true);
    auto opened = messages.command("reply Anna \"Are we still on for lunch?\"");
    ASSERT_EQ(opened["ok"], true) << opened.dump();
    EXPECT_EQ(opened["keyboard"], true);
    auto typed = messages.command("type \"On my way\"");
    EXPECT_EQ(typed["text"], "On my way");
    int64_t while_open = messages.command("timers")["timers"].get<int64_t>();
    EXPECT_GT(while_open, 0);
    EXPECT_EQ(messages.command("advance 1")["ok"], true);
    EXPECT_EQ(messages.command("timers")["timers"], while_open);

    EXPECT_EQ(messages.command("reply close")["ok"], true);
    EXPECT_EQ(messages.command("timers")["timers"], 0);
    // A second reply starts its own timers, as many as the first.
    ASSERT_EQ(messages.command("reply Ben Hi")["ok"], true);
    EXPECT_EQ(messages.command("timers")["timers"], while_open);
    EXPECT_EQ(messages.finish(), 0);
}

TEST(QuickReplyHost, TestNotificationsFindNoAppAndTheExtensionKeepsServing) {
    // The handlers are registered here too, but the extension lists no apps to claim the
    // notification from: each request is dropped, and the host answers and ends normally.
    TempDevice device;
    set_up_device(device);
    HostUnderTest messages("messages", device.root(), true);
    for (const char* name : {zimtone::settings::notifications::kTestBanner,
                             zimtone::settings::notifications::kTestLockscreenBanner}) {
        SCOPED_TRACE(name);
        platform::foundation::CFNotificationCenterPostNotification(
            platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr, nullptr, true);
        // The datagram is already waiting on the host's socket; advancing serves it.
        EXPECT_EQ(messages.command("advance 0")["ok"], true);
        EXPECT_EQ(messages.command("ping")["ok"], true);
    }
    EXPECT_EQ(messages.finish(), 0);
}
