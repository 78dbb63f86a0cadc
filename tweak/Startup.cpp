#include "tweak/Startup.h"

#include "colour/bridge/HexColors.h"
#include "settings/Loaders.h"
#include "tweak/ApplicationList.h"
#include "tweak/HookGroups.h"
#include "tweak/TestBanners.h"

namespace zimtone::tweak {

using namespace platform::runtime;
using namespace platform::foundation;
using namespace zimtone::settings;

namespace {
StartupReport& report() {
    static auto* r = new StartupReport;
    return *r;
}

void observe(const char* name, CFNotificationCallback callback) {
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, callback, name,
                                    nullptr, CFNotificationSuspensionBehavior(0));
}

bool is_messages_extension(const Object* identifier) {
    return msg<bool>(identifier, "isEqualToString:"_sel, ns(kMessagesExtension));
}
} // namespace

StartupReport start() {
    observe(notifications::kTestBanner, showTestBanner);
    observe(notifications::kTestLockscreenBanner, showTestLockscreenBanner);
    observe(notifications::kLoadBanner, loadBannerSettings);
    observe(notifications::kLoadLockscreen, loadLockscreenSettings);
    observe(notifications::kLoadNotificationCenter, loadNotificationCenterSettings);
    observe(notifications::kRespring, respring);
    observe(notifications::kLoadRequests, loadRequests);

    auto bundle = msg<Ref<Object>>(objc_getClass("NSBundle"), "mainBundle"_sel);
    auto identifier = msg<Ref<Object>>(bundle, "bundleIdentifier"_sel);

    cache_application_list();
    colour::bridge::install_hex_colors_category();

    if (!state().dictionary) {
        loadBannerSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
        loadLockscreenSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
        loadNotificationCenterSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
        loadRequests(nullptr, nullptr, nullptr, nullptr, nullptr);
    }

    StartupReport r;
    if (state().NotificationCenterEnabled) {
        r.notification_center = true;
        r.counts += install_group(notification_center_group());
    }
    if (state().BannersEnabled) {
        r.banner = true;
        r.counts += install_group(banner_group());
    }
    if (state().LockscreenEnabled) {
        r.lockscreen = true;
        r.counts += install_group(lockscreen_group());
    }
    if (is_messages_extension(identifier)) {
        r.quick_reply = true;
        r.counts += install_group(quick_reply_group());
    }
    report() = r;
    return r;
}

const StartupReport& last_startup() {
    return report();
}

} // namespace zimtone::tweak
