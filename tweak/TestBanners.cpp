#include "tweak/TestBanners.h"

#include "platform/foundation/NSString.h"
#include "tweak/AppIdentifiers.h"

namespace zimtone::tweak {

using namespace platform::runtime;
using namespace platform::foundation;

namespace {

// Host classes are looked up by name when first needed and remembered once found.
Class host_class(const char* name) {
    static std::unordered_map<std::string, Class>* found = new std::unordered_map<std::string, Class>;
    if (auto it = found->find(name); it != found->end())
        return it->second;
    Class cls = objc_getClass(name);
    if (cls)
        found->emplace(name, cls);
    return cls;
}

enum class CreditLine { Message, Subtitle };

// nil when no eligible app has an icon (or the process has no home-screen apps at all).
Ref<Object> made_up_notification(CreditLine credit) {
    auto section = random_app_identifier_with_icon();
    if (!section)
        return nullptr;
    auto request = msg<Ref<Object>>(class_createInstance(host_class("BBBulletinRequest")), "init"_sel);
    msg(request, "setTitle:"_sel, ns(kTestTitle));
    msg(request, credit == CreditLine::Message ? "setMessage:"_sel : "setSubtitle:"_sel, ns(kTestCredit));
    msg(request, "setSectionID:"_sel, section);
    msg(request, "setBulletinID:"_sel, ns(kTestBulletinID));
    msg(request, "setDefaultAction:"_sel, msg<Ref<Object>>(host_class("BBAction"), "action"_sel));
    return request;
}

SEL five_argument_add() {
    return "observer:addBulletin:forFeed:playLightsAndSirens:withReply:"_sel;
}

} // namespace

void showTestBanner(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    auto banners = msg<Ref<Object>>(host_class("SBBannerController"), "sharedInstance"_sel);
    if (object_getIvarNamed(banners, "_bannerContext"))
        return; // a banner is on screen
    auto request = made_up_notification(CreditLine::Message);
    if (!request)
        return;
    auto controller = msg<Ref<Object>>(host_class("SBBulletinBannerController"), "sharedInstance"_sel);
    Object* no_observer = nullptr;
    Object* no_reply = nullptr;
    if (msg<bool>(controller, "respondsToSelector:"_sel, "observer:addBulletin:forFeed:"_sel))
        msg(controller, "observer:addBulletin:forFeed:"_sel, no_observer, request, kBulletinFeed);
    else if (msg<bool>(controller, "respondsToSelector:"_sel, five_argument_add()))
        msg(controller, five_argument_add(), no_observer, request, kBulletinFeed, true, no_reply);
}

void showTestLockscreenBanner(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    auto manager = msg<Ref<Object>>(host_class("SBLockScreenManager"), "sharedInstance"_sel);
    Object* no_options = nullptr;
    msg(manager, "lockUIFromSource:withOptions:"_sel, int32_t{1}, no_options);
    auto request = made_up_notification(CreditLine::Subtitle);
    if (!request)
        return;
    auto view_controller = msg<Ref<Object>>(manager, "lockScreenViewController"_sel);
    Object* notifications = object_getIvarNamed(view_controller, "_notificationController");
    if (!notifications)
        return;
    Object* observer = object_getIvarNamed(notifications, "_observer");
    Object* no_reply = nullptr;
    if (msg<bool>(notifications, "respondsToSelector:"_sel, five_argument_add()))
        msg(notifications, five_argument_add(), observer, request, kBulletinFeed, false, no_reply);
}

void respring(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    auto application = msg<Ref<Object>>(objc_getClass("UIApplication"), "sharedApplication"_sel);
    msg(application, "_relaunchSpringBoardNow"_sel);
}

} // namespace zimtone::tweak
