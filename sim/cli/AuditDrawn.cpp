#include "sim/cli/AuditDrawn.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <thread>
#include <tuple>

#include "colour/adjustments.h"
#include "colour/dominant_colour.h"
#include "colour/hex_codec.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "settings/Keys.h"
#include "sim/hosts/HostRoleName.h"
#include "sim/hosts/TextAudit.h"
#include "sim/launcher/HostClient.h"
#include "sim/launcher/JsonValues.h"
#include "tweak/AppTint.h"

namespace zimtone::cli {

namespace fs = std::filesystem;
using nlohmann::json;
using platform::foundation::Failure;
using platform::foundation::Result;
using zimtone::colour::Colour;

namespace {

// The bulletin each app sends: texts no surface shows otherwise, so each is known by its words.
constexpr const char* kTitle = "Zimtone audit";
constexpr const char* kSubtitle = "Readability check";
constexpr const char* kMessage = "Every text as it is drawn";
constexpr const char* kReplySender = "Anna";
constexpr const char* kReplyMessage = "Are we still on for lunch?";
constexpr const char* kReplyText = "On my way";

struct SurfaceMarker {
    const char* surface;
    const char* view_class; // a text belongs to the surface when this class is on its path
};

// The views of each surface the tweak colours; the home screen, the status bar and the Today list
// around them are not the tweak's.
const SurfaceMarker kMarkers[] = {
    {"banner", "SBBannerContextView"},
    {"notification-center", "SBNotificationCenterHeaderView"},
    {"notification-center", "SBNotificationsBulletinCell"},
    {"lock-screen", "SBLockScreenView"},
    {"quick-reply", "CKMessageEntryView"},
    {"keyboard", "UIKeyboardLayout"},
};

bool on_path(const json& measure, const std::string& view_class) {
    for (const auto& step : measure["path"])
        if (step == view_class)
            return true;
    return false;
}

std::string element_name(const std::string& surface, const json& measure, const std::string& app_name) {
    const std::string text = measure.value("text", "");
    const std::string view = measure.value("view", "");
    if (surface == "quick-reply") {
        if (view == "UILabel" && on_path(measure, "CKMessageEntryTextView"))
            return text == kReplyText ? "field text" : "placeholder";
        return text == "Send" ? "send button" : "button";
    }
    if (surface == "keyboard")
        return on_path(measure, "UIKeyboardPredictionCell") ? "suggestion" : "key";
    if (text == kTitle)
        return "title";
    if (text == kSubtitle)
        return "subtitle";
    if (text == kMessage)
        return "message";
    if (on_path(measure, "SBBannerButtonView") || on_path(measure, "SBTableViewCellDismissActionButton"))
        return "button";
    if (on_path(measure, "SBNotificationCenterHeaderView"))
        return text == app_name ? "section header" : "clear button";
    if (surface == "lock-screen" && !on_path(measure, "SBLockScreenBulletinCell")) {
        if (text.find("unlock") != std::string::npos)
            return "unlock text";
        return measure["font"].value("size", 0.0) >= 40 ? "clock" : "date line";
    }
    if (on_path(measure, "SBLockScreenBulletinCell") && text.find("slide") != std::string::npos)
        return "action text";
    return "date";
}

struct Step {
    std::string line;
    std::string surface; // when set, the line is a text audit of this surface
};

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string bulletin_line(const std::string& app) {
    return "bulletin " + app + " " + quoted(kTitle) + " " + quoted(kMessage) + " " + quoted(kSubtitle);
}

// One app's turn on the home screen: its banner (then pulled down to its buttons when it has
// any), Notification Center with its bulletin on top, and the lock screen with its bulletin
// alone; the screen is left unlocked with no banner for the next app.
std::vector<Step> springboard_steps(const std::string& app) {
    return {{bulletin_line(app), ""},
            {"advance 0.3", ""},
            {"", "banner"},
            {"touch down 187 40", ""},
            {"touch move 187 90", ""},
            {"touch move 187 140", ""},
            {"touch up 187 140", "pull"},
            {"advance 0.5", ""},
            {"", "banner-buttons"},
            {"dismiss", ""},
            {"nc close", ""},
            {"advance 120", ""},
            {"nc open", ""},
            {"advance 0.3", ""},
            {"", "notification-center"},
            {"nc close", ""},
            {"lock", ""},
            {bulletin_line(app), ""},
            {"advance 0.3", ""},
            {"", "lock-screen"},
            {"lockscreen clear", ""},
            {"unlock", ""}};
}

std::vector<Step> messages_steps() {
    return {{"reply " + quoted(kReplySender) + " " + quoted(kReplyMessage), ""},
            {"advance 0.3", ""},
            {"", "quick-reply-placeholder"},
            {"type " + quoted(kReplyText), ""},
            {"advance 0.3", ""},
            {"", "quick-reply"}};
}

// One host process and the apps it shows in turn: starting a host and its first frames cost
// more than the frames that follow, so each host takes several apps.
struct HostJob {
    sim::HostRoleName role;
    std::vector<const DrawnApp*> apps;
    bool keep_device_texts{false}; // the lock screen's own texts, the same for every app
    bool pictures_if_failing{false};
};

// The lock screen's clock, date and unlock text lie on the wallpaper whatever the app.
bool is_device_text(const std::string& surface, const json& measure) {
    return surface == "lock-screen" && !on_path(measure, "SBLockScreenBulletinCell");
}

double top_of(const json& measure) {
    return measure["box"][1].get<double>();
}

// Notification Center lists every app shown so far, the newest on top: the app's section runs
// from its header (the topmost with its name) to the next header below.
std::pair<double, double> section_band(const json& texts, const std::string& name) {
    double top = -1, bottom = 1e9;
    for (const auto& m : texts)
        if (on_path(m, "SBNotificationCenterHeaderView") && m.value("text", "") == name && top < 0)
            top = top_of(m);
    if (top < 0)
        return {1e9, 1e9};
    for (const auto& m : texts)
        if (on_path(m, "SBNotificationCenterHeaderView") && top_of(m) > top + 8 && top_of(m) < bottom)
            bottom = top_of(m);
    // The header's own glyphs (its clear button) sit a little below its name.
    return {top - 8, bottom};
}

struct JobState {
    HostJob job;
    zimtone::sim::HostClient* host;
    fs::path pictures;
    int shot{0};
};

// Runs one app's steps and keeps the texts of the surfaces it shows.
Result<void> run_app(JobState& state, const DrawnApp& app, const std::vector<Step>& steps,
                     bool keep_device_texts, std::vector<DrawnElement>& out) {
    auto& host = *state.host;
    bool pulled = false;
    for (const auto& step : steps) {
        if (step.surface.empty() || step.surface == "pull") {
            auto answer = host.command(step.line);
            if (answer.is_null())
                return Failure{"the " + std::string(sim::role_name(state.job.role)) +
                               " host did not answer '" + step.line + "'"};
            if (step.surface == "pull")
                pulled = answer.value("gesture", "") == "banner-pull-down";
            continue;
        }
        if (step.surface == "banner-buttons" && !pulled)
            continue;
        std::string stem = app.app + "-" + std::to_string(state.shot++) + "-" + step.surface;
        fs::path drawn = state.pictures / (stem + ".png"), bare = state.pictures / (stem + "-bare.png");
        std::string line = "text-audit";
        if (!state.pictures.empty())
            line += std::string(state.job.pictures_if_failing ? " --pictures-if-failing" : "") + " " +
                    quoted(drawn.string()) + " " + quoted(bare.string());
        auto answer = host.command(line);
        if (answer.is_null() || !answer.value("ok", false))
            return Failure{
                "the " + std::string(sim::role_name(state.job.role)) + " host could not audit its texts: " +
                (answer.is_null() ? std::string("no answer") : answer.value("error", answer.dump()))};
        const json& texts = answer["texts"];
        // Only frames the host drew pictures of name them; with pictures only where a text fails,
        // the others have none.
        const bool pictured = answer.value("pictures", false);
        auto band = section_band(texts, app.name);
        for (const auto& measure : texts) {
            std::string surface;
            for (const auto& marker : kMarkers)
                if (surface.empty() && on_path(measure, marker.view_class))
                    surface = marker.surface;
            // The reply and keyboard are the Messages extension's; the home screen's own keyboard
            // (a banner's reply action) is not what the tweak colours there.
            const bool reply_surface = surface == "quick-reply" || surface == "keyboard";
            if (surface.empty() || reply_surface != (state.job.role == sim::HostRoleName::messages))
                continue;
            if (surface == "notification-center" &&
                (top_of(measure) < band.first || top_of(measure) >= band.second))
                continue;
            std::string element = element_name(surface, measure, app.name);
            // The pulled-down banner adds only its buttons; the typed reply only its field text.
            if (step.surface == "banner-buttons" && element != "button")
                continue;
            if (step.surface == "quick-reply-placeholder" && element != "placeholder")
                continue;
            if (step.surface == "quick-reply" && element == "placeholder")
                continue;
            bool device_text = is_device_text(surface, measure);
            if (device_text && !keep_device_texts)
                continue;
            json kept = measure;
            // The clear button's "x" is a control's glyph, not text: WCAG asks 3:1 of it.
            if (element == "clear button") {
                kept["threshold"] = zimtone::sim::kContrastLargeText;
                kept["fails"] =
                    kept["contrast"]["worst_tenth"].get<double>() < zimtone::sim::kContrastLargeText;
            }
            out.push_back({device_text ? kDeviceTexts : app.app, surface, element, std::move(kept), "",
                           pictured ? drawn.string() : "", pictured ? bare.string() : ""});
        }
    }
    return {};
}

bool tweak_injected(const json& ready) {
    for (const auto& library : ready.value("injected", json::array()))
        if (library == "Zimtone2")
            return true;
    return false;
}

Result<void> run_job(const HostJob& job, const fs::path& root, const fs::path& pictures,
                     std::vector<DrawnElement>& out, bool* tweak_loaded) {
    zimtone::sim::HostLaunchExtras extras;
    if (!pictures.empty())
        extras.arguments = {"--output-folder", pictures.string()};
    zimtone::sim::HostClient host({zimtone::sim::executable_dir() / "zimtone-host",
                                   sim::role_name(job.role),
                                   root,
                                   true,
                                   {{"ZIMTONE_RANDOM_SEED", "1"}}},
                                  extras);
    if (!host.ready().is_object())
        return Failure{"the " + std::string(sim::role_name(job.role)) + " host did not start"};
    *tweak_loaded = tweak_injected(host.ready());
    JobState state{job, &host, pictures};
    bool keep = job.keep_device_texts;
    for (const auto* app : job.apps) {
        auto steps = job.role == sim::HostRoleName::messages ? messages_steps() : springboard_steps(app->app);
        if (auto ran = run_app(state, *app, steps, keep, out); !ran)
            return ran;
        keep = false;
    }
    host.command("quit");
    return {};
}

// Runs the jobs on a few threads, each job its own host process; the elements come in the order
// of the apps.
Result<void> run_jobs(const std::vector<HostJob>& jobs, const std::vector<DrawnApp>& apps,
                      const fs::path& root, const fs::path& pictures, int workers,
                      std::vector<DrawnElement>& out, bool* tweak_loaded = nullptr) {
    std::vector<std::vector<DrawnElement>> results(jobs.size());
    std::vector<std::string> errors(jobs.size());
    std::unique_ptr<bool[]> loaded(new bool[jobs.size()]());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++)
            if (auto ran = run_job(jobs[i], root, pictures, results[i], &loaded[i]); !ran)
                errors[i] = ran.error().empty() ? "a host failed" : ran.error();
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < std::max(1, workers); ++t)
        threads.emplace_back(work);
    for (auto& thread : threads)
        thread.join();
    for (size_t i = 0; i < jobs.size(); ++i)
        if (!errors[i].empty())
            return Failure{errors[i]};
    if (tweak_loaded)
        *tweak_loaded = std::all_of(loaded.get(), loaded.get() + jobs.size(), [](bool b) { return b; });
    std::vector<DrawnElement> all;
    for (auto& result : results)
        all.insert(all.end(), result.begin(), result.end());
    // Device texts first, then app by app in the order given, each app's surfaces in showing order.
    auto rank = [&](const DrawnElement& e) {
        auto it = std::find_if(apps.begin(), apps.end(), [&](const DrawnApp& a) { return a.app == e.app; });
        auto surface = std::find(drawn_surfaces().begin(), drawn_surfaces().end(), e.surface);
        return std::pair(e.app == kDeviceTexts ? -1L : static_cast<long>(it - apps.begin()),
                         static_cast<long>(surface - drawn_surfaces().begin()));
    };
    std::stable_sort(all.begin(), all.end(), [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    out.insert(out.end(), all.begin(), all.end());
    return {};
}

// The Messages extension's reply first, as it is one app's alone, then the home screen's apps
// dealt out to one host per worker.
std::vector<HostJob> jobs_for(const std::vector<DrawnApp>& apps, int workers, bool keep_device_texts) {
    std::vector<HostJob> jobs;
    for (const auto& app : apps)
        if (app.app == kReplyApp)
            jobs.push_back({sim::HostRoleName::messages, {&app}, false});
    size_t first = jobs.size();
    size_t hosts = std::min(apps.size(), static_cast<size_t>(std::max(1, workers)));
    for (size_t i = 0; i < hosts; ++i)
        jobs.push_back({sim::HostRoleName::springboard, {}, keep_device_texts && i == 0});
    for (size_t i = 0; i < apps.size(); ++i)
        jobs[first + i % hosts].apps.push_back(&apps[i]);
    return jobs;
}

struct SurfaceSettings {
    bool cycling{false};
    double alpha{1};
    bool allow_saturation{true};
    double saturation{1};
};

SurfaceSettings surface_settings(const std::string& surface, const zimtone::settings::SettingsState& s) {
    if (surface == "notification-center")
        return {s.NotificationUnicornEnabled, s.NotificationCenterAlpha, s.AllowSaturationNotification,
                s.NotificationCenterSaturation};
    if (surface == "lock-screen")
        return {s.LockscreenUnicornEnabled, s.LockscreenAlpha, s.AllowSaturationLock, s.LockscreenSaturation};
    return {s.BannersUnicornEnabled, s.BannerAlpha, s.AllowSaturation, s.BannerSaturation};
}

bool has_per_app_colour(const zimtone::settings::SettingsState& s, const std::string& app) {
    return s.SpecificAppColor && s.per_app_colours && s.per_app_colours->get(app);
}

std::string percent(double value) {
    return std::to_string(static_cast<int>(std::lround(value * 100))) + "%";
}

// The first reason the audit can tell for a failing text, from the most specific.
std::string cause_of(const DrawnElement& e, const DrawnApp& app, const zimtone::settings::SettingsState& s) {
    SurfaceSettings surface = surface_settings(e.surface, s);
    const bool tinted_surface = !is_device_text(e.surface, e.measure);
    if (surface.cycling && tinted_surface)
        return "colour cycling: the tint is a new random colour at every tick";
    if (has_per_app_colour(s, e.app) && tinted_surface)
        return "the per-app colour set for this app";
    if (app.icon && app.icon->model != zimtone::colour::ColourModel::RGB && tinted_surface)
        return std::string("the icon is a ") +
               (app.icon->model == zimtone::colour::ColourModel::Grey ? "greyscale" : "palette") +
               " PNG the colour engine cannot read, so the tint is black";
    if (!app.icon && tinted_surface)
        return "the app has no icon, so the tint is black";
    if (e.surface == "banner" && e.element == "button" && surface.allow_saturation)
        return "the saturation step on button titles (saturation " + percent(surface.saturation) + ")";
    if (surface.alpha < 1 && tinted_surface)
        return "the tint is " + percent(surface.alpha) + " opaque over the wallpaper";
    if (!tinted_surface)
        return "not the tweak's colour: the text sits on the wallpaper";
    const json& drawn = e.measure["drawn"];
    const bool black_or_white =
        drawn[0] == drawn[1] && drawn[1] == drawn[2] && (drawn[0] == 0.0 || drawn[0] == 1.0);
    if (!black_or_white)
        return "the app's colour is the text colour here, on a background the tweak does not colour";
    return "the automatic text colour rule (white or black from the icon's brightness)";
}

// The app's colour before the tweak's steps: its per-app colour, else its icon's.
Colour base_colour(const DrawnApp& app, const zimtone::settings::SettingsState& s) {
    Colour dominant = zimtone::colour::getDominantColor(app.icon ? &*app.icon : nullptr);
    if (has_per_app_colour(s, app.app)) {
        const auto* hex = platform::foundation::string_of(s.per_app_colours->get(app.app).get());
        if (auto colour = hex ? zimtone::colour::colorWithHexString(*hex) : std::nullopt)
            return *colour;
    }
    return dominant;
}

Colour colour_of(const json& c) {
    return {c[0].get<double>(), c[1].get<double>(), c[2].get<double>(),
            c.size() > 3 ? c[3].get<double>() : 1.0};
}

// The tint the tweak's own rules make of a per-app colour on a surface; clear black for none.
Colour surface_tint(const Colour& per_app, const std::string& surface,
                    const zimtone::settings::SettingsState& s) {
    SurfaceSettings settings = surface_settings(surface, s);
    zimtone::tweak::AppTintInputs in;
    in.specific_app_color = true;
    in.per_app_entry = std::optional<Colour>(per_app);
    in.allow_saturation = settings.allow_saturation;
    in.saturation = settings.saturation;
    return zimtone::tweak::app_tint(in).value_or(Colour{0, 0, 0, 0});
}

// How a text's background follows the tint: drawing is affine in the tint's colour (painting at a
// fixed opacity, blurring and fading all are), so background = coverage * tint + rest, per channel.
// Until two drawings with different tints are known, the background is taken as the tint itself.
struct BackgroundModel {
    std::string surface;
    Colour text;
    double threshold{zimtone::sim::kContrastNormalText};
    double coverage{1};
    Colour rest{0, 0, 0, 1};

    Colour predict(const Colour& tint) const {
        return {coverage * tint.red + rest.red, coverage * tint.green + rest.green,
                coverage * tint.blue + rest.blue, 1};
    }
    void fit(const Colour& tint0, const Colour& background0, const Colour& tint1, const Colour& background1) {
        double dt[3] = {tint1.red - tint0.red, tint1.green - tint0.green, tint1.blue - tint0.blue};
        double db[3] = {background1.red - background0.red, background1.green - background0.green,
                        background1.blue - background0.blue};
        double num = 0, den = 0;
        for (int c = 0; c < 3; ++c)
            num += dt[c] * db[c], den += dt[c] * dt[c];
        coverage = den > 1e-6 ? std::clamp(num / den, 0.0, 1.0) : 0.0;
        rest = {background0.red - coverage * tint0.red, background0.green - coverage * tint0.green,
                background0.blue - coverage * tint0.blue, 1};
    }
};

using ElementKey = std::tuple<std::string, std::string, std::string>; // surface, element, text

ElementKey key_of(const DrawnElement& e) {
    return {e.surface, e.element, e.measure.value("text", "")};
}

// The colours of the app's hue at each brightness from 0 to 1, those every modelled text would read
// on first, then nearest the app's own brightness first.
std::vector<Colour> ranked_candidates(const DrawnApp& app,
                                      const std::map<ElementKey, BackgroundModel>& models,
                                      const zimtone::settings::SettingsState& s) {
    using namespace zimtone::colour;
    HSB own = toHSB(base_colour(app, s));
    std::vector<std::tuple<bool, double, Colour>> ranked;
    for (int step = 0; step <= 20; ++step) {
        HSB hsb = own;
        hsb.brightness = step / 20.0;
        hsb.alpha = 1;
        Colour candidate = fromHSB(hsb);
        bool reads = true;
        for (const auto& [key, model] : models) {
            Colour background = model.predict(surface_tint(candidate, model.surface, s));
            double ratio = zimtone::sim::contrast_ratio(zimtone::sim::composite_over(model.text, background),
                                                        background);
            reads &= ratio >= model.threshold + 0.1; // a little margin for the darkest pixels of the box
        }
        ranked.push_back({!reads, std::abs(hsb.brightness - own.brightness), candidate});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    std::vector<Colour> out;
    for (auto& [fails, distance, colour] : ranked)
        if (!fails)
            out.push_back(colour);
    return out;
}

std::string hex_of(const Colour& c) {
    auto clamp = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); };
    return zimtone::colour::hexValuesFromColour({clamp(c.red), clamp(c.green), clamp(c.blue), 1});
}

// A copy of the device whose settings add these per-app colours, for drawing them.
Result<void> write_trial_settings(const fs::path& trial_root, const std::map<std::string, Colour>& colours) {
    auto original = platform::foundation::read_dictionary_file(zimtone::settings::kSettingsFile);
    auto settings = original ? original->mutableCopy() : platform::foundation::NSMutableDictionary::create();
    json entries = json::array();
    for (const auto& [app, colour] : colours)
        entries.push_back({{app, hex_of(colour)}});
    settings->set("SpecificAppColor", zimtone::sim::object_from_json(true));
    settings->set("Specific_App_Color", zimtone::sim::object_from_json(entries));
    std::string bytes =
        platform::foundation::serialise_property_list(settings.get(), platform::foundation::PlistFormat::XML);
    fs::path file = trial_root / fs::path(zimtone::settings::kSettingsFile).relative_path();
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (bytes.empty() || !out.flush())
        return Failure{"cannot write the trial settings under " + trial_root.string()};
    return {};
}

// The device but its run-time folder (var), which holds the sockets of a running device. The
// tweak and its bundle are installed as links to the build; the copy links to them too.
Result<void> copy_device(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::create_directories(to, ec);
    for (auto it = fs::directory_iterator(from, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        if (it->path().filename() == "var")
            continue;
        fs::copy(it->path(), to / it->path().filename(),
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
        if (ec)
            return Failure{"cannot copy the device to try colours on it: " + it->path().string() + ": " +
                           ec.message()};
    }
    if (ec)
        return Failure{"cannot copy the device to try colours on it: " + ec.message()};
    return {};
}

std::string pane_entry(const DrawnApp& app, const std::string& hex) {
    return "Settings > Zimtone 2 > App Colours > " + app.name + ": #" + hex +
           ", with Banner > Use App Colours on (file: Specific_App_Color " + app.app + " = " + hex +
           ", SpecificAppColor YES)";
}

// Draws the apps with these per-app colours on a copy of the device.
Result<void> draw_trial(const fs::path& trial_root, const std::map<std::string, Colour>& trying,
                        const std::vector<DrawnApp>& apps, int workers, std::vector<DrawnElement>& drawn) {
    std::vector<DrawnApp> trial_apps;
    for (const auto& app : apps)
        if (trying.count(app.app))
            trial_apps.push_back(app);
    if (trial_apps.empty())
        return {};
    if (auto written = write_trial_settings(trial_root, trying); !written)
        return written;
    return run_jobs(jobs_for(trial_apps, workers, false), trial_apps, trial_root, {}, workers, drawn);
}

bool passes_all(const std::vector<DrawnElement>& drawn, const std::string& app) {
    return std::none_of(drawn.begin(), drawn.end(), [&](const DrawnElement& e) {
        return e.app == app && e.fails() && !is_device_text(e.surface, e.measure);
    });
}

// Two drawings per failing app at most: the first candidate is chosen as if each text lay on the
// tint itself; when it does not pass, the two drawings tell how each background follows the tint,
// and the candidate that model picks is drawn to check it.
Result<std::vector<ColourProposal>> propose(const std::vector<DrawnApp>& apps,
                                            const std::vector<DrawnElement>& elements,
                                            const zimtone::settings::SettingsState& s,
                                            const fs::path& scratch, int workers) {
    std::vector<ColourProposal> proposals;
    std::map<std::string, const DrawnApp*> by_id;
    std::map<std::string, std::map<ElementKey, BackgroundModel>> models;
    std::map<std::string, Colour> first;
    for (const auto& app : apps) {
        bool failing = false;
        for (const auto& e : elements)
            if (e.app == app.app && !is_device_text(e.surface, e.measure)) {
                failing |= e.fails();
                models[app.app][key_of(e)] = {e.surface, colour_of(e.measure["drawn"]),
                                              e.measure["threshold"].get<double>()};
            }
        if (!failing)
            continue;
        by_id[app.app] = &app;
        proposals.push_back({app.app, std::nullopt, "", ""});
        auto ranked = ranked_candidates(app, models[app.app], s);
        if (!ranked.empty())
            first[app.app] = ranked.front();
    }
    if (proposals.empty())
        return proposals;
    fs::path trial_root = scratch / "trial-device";
    if (auto copied = copy_device(platform::foundation::device_root(), trial_root); !copied)
        return Failure{copied.error()};

    std::vector<DrawnElement> drawn;
    if (auto tried = draw_trial(trial_root, first, apps, workers, drawn); !tried)
        return Failure{tried.error()};
    std::map<std::string, Colour> second;
    for (auto& proposal : proposals) {
        auto tried = first.find(proposal.app);
        if (tried == first.end())
            continue;
        if (passes_all(drawn, proposal.app)) {
            proposal.colour = tried->second;
            continue;
        }
        const DrawnApp& app = *by_id[proposal.app];
        auto& app_models = models[proposal.app];
        Colour own = base_colour(app, s);
        for (const auto& e0 : elements) {
            if (e0.app != proposal.app || is_device_text(e0.surface, e0.measure))
                continue;
            for (const auto& e1 : drawn)
                if (e1.app == e0.app && key_of(e1) == key_of(e0))
                    app_models[key_of(e0)].fit(surface_tint(own, e0.surface, s),
                                               colour_of(e0.measure["background"]["median"]),
                                               surface_tint(tried->second, e0.surface, s),
                                               colour_of(e1.measure["background"]["median"]));
        }
        auto ranked = ranked_candidates(app, app_models, s);
        if (!ranked.empty())
            second[proposal.app] = ranked.front();
    }
    drawn.clear();
    if (auto tried = draw_trial(trial_root, second, apps, workers, drawn); !tried)
        return Failure{tried.error()};
    for (auto& proposal : proposals) {
        auto tried = second.find(proposal.app);
        if (tried != second.end() && passes_all(drawn, proposal.app))
            proposal.colour = tried->second;
        if (proposal.colour) {
            proposal.hex = hex_of(*proposal.colour);
            proposal.how = pane_entry(*by_id[proposal.app], proposal.hex);
        } else {
            proposal.how =
                "no brightness of this hue brings every text of the app to its threshold under the "
                "current settings (the search draws two candidates)";
        }
    }
    return proposals;
}

} // namespace

const std::vector<std::string>& drawn_surfaces() {
    static const std::vector<std::string> surfaces = {"banner", "notification-center", "lock-screen",
                                                      "quick-reply", "keyboard"};
    return surfaces;
}

Result<DrawnAudit> audit_drawn_texts(const std::vector<DrawnApp>& apps,
                                     const zimtone::settings::SettingsState& settings,
                                     const DrawnAuditOptions& options) {
    DrawnAudit audit;
    auto jobs = jobs_for(apps, options.workers, true);
    for (auto& job : jobs)
        job.pictures_if_failing = options.pictures_if_failing;
    if (auto ran = run_jobs(jobs, apps, platform::foundation::device_root(), options.pictures,
                            options.workers, audit.elements, &audit.tweak_loaded);
        !ran)
        return Failure{ran.error()};
    for (auto& e : audit.elements)
        if (e.fails()) {
            auto app =
                std::find_if(apps.begin(), apps.end(), [&](const DrawnApp& a) { return a.app == e.app; });
            e.cause = app != apps.end() ? cause_of(e, *app, settings)
                                        : "not the tweak's colour: the text sits on the wallpaper";
        }
    if (!options.propose)
        return audit;
    std::error_code ec;
    fs::path scratch = fs::temp_directory_path(ec) / ("zimtone-audit-trials-" + std::to_string(getpid()));
    fs::remove_all(scratch, ec);
    fs::create_directories(scratch, ec);
    auto proposals = propose(apps, audit.elements, settings, scratch, options.workers);
    fs::remove_all(scratch, ec);
    if (!proposals)
        return Failure{proposals.error()};
    audit.proposals = std::move(*proposals);
    return audit;
}

} // namespace zimtone::cli
