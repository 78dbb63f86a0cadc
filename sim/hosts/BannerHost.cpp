// The banner surface of the home screen: its host classes, the delivery of bulletins as
// banners, and the commands that drive it (bulletin, dismiss, apps).
#include <algorithm>
#include <cctype>
#include <tuple>

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/NSString.h"
#include "platform/springboard/BulletinStore.h"
#include "platform/springboard/SBApplicationController.h"
#include "platform/springboard/SBBannerController.h"
#include "platform/springboard/SBBulletinBannerController.h"
#include "platform/springboard/SBBulletinBannerItem.h"
#include "platform/springboard/SBLockScreenNotificationBulletinBannerItem.h"
#include "platform/uikit/TextColour.h"
#include "platform/uikit/ViewDump.h"
#include "sim/hosts/HomeScreen.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/SurfaceHosts.h"

namespace zimtone::sim {

using namespace platform::springboard;
using namespace platform::runtime;
using nlohmann::json;

namespace {

// The feed a bulletin arriving while the device is in use goes to.
constexpr uint64_t kBannerFeed = 2;
// The app most notifications come from heads the picker's list.
constexpr const char* kFirstListedApp = "com.apple.MobileSMS";

void register_banner_classes() {
    BBAction::runtime_class();
    BBBulletinRequest::runtime_class();
    SBApplicationController::runtime_class();
    SBBannerController::runtime_class();
    SBBulletinBannerController::runtime_class();
    SBUIBannerContext::runtime_class();
    SBBulletinBannerItem::runtime_class();
    SBLockScreenNotificationBulletinBannerItem::runtime_class();
    SBBannerContextView::runtime_class();
    SBDefaultBannerView::runtime_class();
    SBDefaultBannerTextView::runtime_class();
    SBBannerButtonView::runtime_class();
    SBNotificationVibrantButton::runtime_class();
}

// A new bulletin comes down as a banner unless the device is locked (the lock screen lists it then).
void present_as_banner(BBBulletin* bulletin) {
    if (BulletinStore::shared().locked())
        return;
    Object* no_observer = nullptr;
    Object* no_reply = nullptr;
    auto controller = msg<Ref<Object>>(SBBulletinBannerController::runtime_class(), "sharedInstance"_sel);
    msg(controller, "observer:addBulletin:forFeed:playLightsAndSirens:withReply:"_sel, no_observer,
        static_cast<Object*>(bulletin), kBannerFeed, true, no_reply);
}

bool is_installed(const std::string& bundle_identifier) {
    return platform::applist::ALApplicationList::sharedApplicationList()->find(bundle_identifier) != nullptr;
}

json string_or_null(const Ref<platform::foundation::NSString>& text) {
    return text ? json(text->str()) : json(nullptr);
}

json dump_bulletin(const BBBulletin* bulletin) {
    if (!bulletin)
        return nullptr;
    return {{"sectionID", string_or_null(bulletin->sectionID())},
            {"bulletinID", string_or_null(bulletin->bulletinID())},
            {"title", string_or_null(bulletin->title())},
            {"subtitle", string_or_null(bulletin->subtitle())},
            {"message", string_or_null(bulletin->message())}};
}

json dump_string(const NSAttributedString* text) {
    if (!text)
        return nullptr;
    json colours = json::array();
    for (const auto& run : text->runs())
        colours.push_back(
            platform::uikit::dump_colour(platform::uikit::foreground_colour_at(*text, run.range.location)));
    return {{"text", text->str()}, {"runColours", std::move(colours)}};
}

// The banner's bulletin and the strings its text view draws, which the plain view dump cannot see.
void add_banner_details(const platform::uikit::UIView& view, json& entry) {
    if (auto* banner = dynamic_cast<const SBBannerContextView*>(&view)) {
        auto* context = banner->context();
        auto item = context ? context->item() : nullptr;
        entry["item"] = item ? json(class_getName(item->isa())) : json(nullptr);
        entry["bulletin"] = dump_bulletin(item ? item->bulletin() : nullptr);
    }
    if (auto* text = dynamic_cast<const SBDefaultBannerTextView*>(&view))
        entry["strings"] = {{"primary", dump_string(text->primary())},
                            {"primaryComponent", dump_string(text->primary_component())},
                            {"secondary", dump_string(text->secondary())},
                            {"alternateSecondary", dump_string(text->alternate_secondary())}};
}

// Bulletin texts end up in JSON dumps and drawn text, which take only UTF-8.
bool is_utf8(const std::string& text) {
    try {
        (void)json(text).dump();
        return true;
    } catch (const json::type_error&) {
        return false;
    }
}

CommandResult deliver_bulletin(const std::vector<std::string>& args) {
    if (args.size() != 3 && args.size() != 4)
        return CommandResult::failure(
            "bulletin takes an app identifier, a title, a message and an optional subtitle");
    if (!std::all_of(args.begin(), args.end(), is_utf8))
        return CommandResult::failure("bulletin texts must be UTF-8");
    if (!is_installed(args[0]))
        return CommandResult::failure("no installed app has the bundle identifier '" + args[0] +
                                      "' (see 'apps')");
    auto bulletin = BBBulletin::make(args[0], args[1], args[2]);
    if (args.size() == 4)
        bulletin->setSubtitle(platform::foundation::ns(args[3]).get());
    const char* banner = BulletinStore::shared().locked()               ? "none, the device is locked"
                         : SBBannerController::shared().bannerContext() ? "queued"
                                                                        : "shown";
    BulletinStore::shared().deliver(bulletin.get());
    return CommandResult::success({{"banner", banner}, {"waiting", SBBannerController::shared().waiting()}});
}

// A banner set itself up when it came down: the one on screen comes down again, as a new banner.
void present_banner_again() {
    auto& controller = SBBannerController::shared();
    Ref<SBUIBannerItem> item = controller.bannerContext() ? controller.bannerContext()->item() : nullptr;
    if (item && controller.dismiss(kBannerExpired))
        controller.present(item.get());
}

CommandResult dismiss_banner(const std::vector<std::string>& args) {
    if (!args.empty())
        return CommandResult::failure("dismiss takes no arguments");
    if (!SBBannerController::shared().dismiss(kBannerDismissedByUser))
        return CommandResult::failure("no banner is on screen");
    return CommandResult::success({{"waiting", SBBannerController::shared().waiting()}});
}

// Listed as a person looks for them: Messages first, then by display name, the identifier
// settling equal names; what is no app of the home screen is left out.
CommandResult list_apps(const std::vector<std::string>& args) {
    if (!args.empty())
        return CommandResult::failure("apps takes no arguments");
    auto folded = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    std::vector<platform::applist::AppRecord> apps;
    for (const auto& app : platform::applist::ALApplicationList::sharedApplicationList()->apps())
        if (is_home_screen_app(app.bundle_identifier))
            apps.push_back(app);
    std::sort(apps.begin(), apps.end(), [&](const auto& a, const auto& b) {
        return std::tuple(a.bundle_identifier != kFirstListedApp, folded(a.display_name),
                          a.bundle_identifier) < std::tuple(b.bundle_identifier != kFirstListedApp,
                                                            folded(b.display_name), b.bundle_identifier);
    });
    json listed = json::array();
    for (const auto& app : apps)
        listed.push_back({{"bundle", app.bundle_identifier}, {"name", app.display_name}});
    return CommandResult::success({{"apps", std::move(listed)}});
}

} // namespace

void set_up_banner_host(HostProcess& host) {
    register_banner_classes();
    SBBannerController::shared().set_container(screen());
    BulletinStore::shared().add_listener(present_as_banner);
    add_dump_detail(add_banner_details);
    add_screen_refresh(present_banner_again);
    host.add_command("bulletin", "bulletin APP TITLE MESSAGE [SUBTITLE]  (an app posts a notification)",
                     deliver_bulletin);
    host.add_command("dismiss", "dismiss  (takes the banner on screen away)", dismiss_banner);
    host.add_command("apps", "apps  (the installed apps by display name: bundle identifier and name)",
                     list_apps);
}

} // namespace zimtone::sim
