#include "sim/hosts/NotificationLog.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/Base64.h"
#include "platform/foundation/RunLoop.h"
#include "platform/springboard/BulletinStore.h"
#include "platform/springboard/SBBannerController.h"
#include "sim/hosts/Screen.h"

namespace zimtone::sim {

using namespace platform::springboard;
using nlohmann::json;
using platform::runtime::Ref;

namespace {

std::string hex_of(const json& colour) {
    if (!colour.is_array() || colour.size() < 3)
        return {};
    char text[8];
    auto channel = [&](size_t i) {
        double v = colour[i].get<double>();
        return static_cast<unsigned>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(0), channel(1), channel(2));
    return text;
}

const json* find_view(const json& view, const char* cls) {
    if (view.value("class", "") == cls)
        return &view;
    if (auto it = view.find("subviews"); it != view.end())
        for (const auto& child : *it)
            if (const json* found = find_view(child, cls))
                return found;
    return nullptr;
}

// The banner as `dump` shows it: its backdrop's tint at the backdrop's tint alpha, and the colour of
// the first run of the banner's primary text.
void read_banner_colours(const json& banner, json& entry) {
    json background = nullptr;
    if (const json* backdrop = find_view(banner, "_UIBackdropView");
        backdrop && (*backdrop)["tint"].is_array()) {
        background = (*backdrop)["tint"];
        background[3] = background[3].get<double>() * backdrop->value("tintAlpha", 1.0);
    } else if (banner["background"].is_array()) {
        background = banner["background"];
    }
    json text = nullptr;
    if (const json* view = find_view(banner, "SBDefaultBannerTextView")) {
        const json& runs = (*view)["strings"]["primary"]["runColours"];
        if (runs.is_array() && !runs.empty())
            text = runs[0];
    }
    entry["background"] = background;
    entry["backgroundHex"] = background.is_null() ? json(nullptr) : json(hex_of(background));
    entry["textColour"] = text;
    entry["textHex"] = text.is_null() ? json(nullptr) : json(hex_of(text));
}

class NotificationLog {
  public:
    void record(BBBulletin* bulletin) {
        const std::string app = BBBulletin::text(bulletin->sectionID());
        const auto* listed = platform::applist::ALApplicationList::sharedApplicationList()->find(app);
        std::string name = listed ? listed->display_name : app;
        // Wall-clock time: a person reads it as the time of day, which the loop's clock is not.
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
        json entry = {{"time", ms},
                      {"app", app},
                      {"name", name},
                      {"title", BBBulletin::text(bulletin->title())},
                      {"message", BBBulletin::text(bulletin->message())},
                      {"presented", false},
                      {"background", nullptr},
                      {"backgroundHex", nullptr},
                      {"textColour", nullptr},
                      {"textHex", nullptr}};
        entries_.push_front({Ref<BBBulletin>(bulletin), std::move(entry)});
        if (entries_.size() > kNotificationLogLength)
            entries_.pop_back();
        note_banner();
        // How the bulletin was met when it arrived, as the `bulletin` command answers it.
        json& arrived = entries_.front().second;
        arrived["banner"] = BulletinStore::shared().locked()   ? "none, the device is locked"
                            : arrived["presented"].get<bool>() ? "shown"
                                                               : "queued";
    }

    // Fills in the entry of the banner on screen once, when it comes down.
    void note_banner() {
        SBBannerContextView* view = SBBannerController::shared().banner_view();
        if (!view || view == seen_.get())
            return;
        seen_ = Ref<SBBannerContextView>(view);
        // A queued banner comes down as this one leaves; it is read once the dismissal is over.
        auto before = view->on_window_change;
        view->on_window_change = [this, before](platform::uikit::UIWindow* window) {
            if (before)
                before(window);
            if (!window)
                platform::foundation::RunLoop::main().post([this] { note_banner(); });
        };
        auto* context = view->context();
        auto item = context ? context->item() : nullptr;
        BBBulletin* shown = item ? item->bulletin() : nullptr;
        for (auto& [bulletin, entry] : entries_) {
            if (bulletin.get() != shown)
                continue;
            entry["presented"] = true;
            const json dump = dump_screen();
            if (const json* banner = find_view(dump["screen"], "SBBannerContextView"))
                read_banner_colours(*banner, entry);
            return;
        }
    }

    json answer() const {
        json entries = json::array();
        json icons = json::object();
        for (const auto& [bulletin, entry] : entries_) {
            entries.push_back(entry);
            const std::string app = entry["app"];
            if (icons.contains(app))
                continue;
            if (const auto* listed = platform::applist::ALApplicationList::sharedApplicationList()->find(app))
                icons[app] = small_icon_base64(*listed);
        }
        return {{"entries", std::move(entries)}, {"icons", std::move(icons)}};
    }

  private:
    std::deque<std::pair<Ref<BBBulletin>, json>> entries_;
    Ref<SBBannerContextView> seen_;
};

NotificationLog& notification_log() {
    static auto* log = new NotificationLog; // lives as long as its process
    return *log;
}

} // namespace

std::string small_icon_base64(const platform::applist::AppRecord& app) {
    for (const char* name : {"Icon-Small@2x.png", "Icon-Small.png", "Icon-Small@3x.png"}) {
        std::ifstream in(app.bundle_folder / name, std::ios::binary);
        if (!in)
            continue;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!bytes.empty())
            return platform::foundation::base64_encoded(bytes);
    }
    return {};
}

void set_up_notification_log(HostProcess& host) {
    BulletinStore::shared().add_listener([](BBBulletin* bulletin) { notification_log().record(bulletin); });
    host.add_command("log",
                     "log  (the notifications received, newest first: app, texts, banner and its colours)",
                     [](const std::vector<std::string>& args) {
                         if (!args.empty())
                             return CommandResult::failure("log takes no arguments");
                         notification_log().note_banner();
                         return CommandResult::success(notification_log().answer());
                     });
}

} // namespace zimtone::sim
