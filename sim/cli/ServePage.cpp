#include "sim/cli/ServePage.h"

#include "platform/foundation/NotifyCenter.h"
#include "sim/cli/ServeActions.h"
#include "sim/cli/ServeAssets.h"
#include "sim/cli/ServeInput.h"
#include "sim/hosts/CommandLine.h"

namespace zimtone::cli {

using nlohmann::json;

namespace {

void send_json(httplib::Response& res, int status, const json& body) {
    res.status = status;
    res.set_content(body.dump(), "application/json");
}

void add_page_headers(httplib::Response& res, int settings_port) {
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("Cache-Control", "no-store");
    res.set_header("Content-Security-Policy",
                   "default-src 'self'; img-src 'self' blob:; frame-src http://127.0.0.1:" +
                       std::to_string(settings_port) +
                       "; frame-ancestors 'none'; base-uri 'none'; form-action 'none'");
}

// The body of an error the server itself raised before any route ran.
std::string error_text(int status) {
    switch (status) {
    case 404:
        return "not found";
    case 413:
        return "the request is too large";
    case 414:
        return "the address is too long";
    default:
        return "the request could not be served (HTTP " + std::to_string(status) + ")";
    }
}

// A page's frame request waits this long for a change before it is answered "no change".
constexpr std::chrono::milliseconds kFrameWait{1000};
// The digits of the largest 64-bit frame number; a longer one would overflow the parse.
constexpr size_t kMaxFrameDigits = 19;

} // namespace

void ServePage::install(http::PageServer& server) {
    server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty())
            return;
        send_json(res, res.status, {{"error", error_text(res.status)}});
    });
    server.Get(
        R"(/|/app\.js|/style\.css|/touch\.js)", [this](const httplib::Request& req, httplib::Response& res) {
            const PageAsset* asset = find_page_asset(req.path);
            add_page_headers(res, settings_port_);
            res.set_content(std::string(asset->body), std::string(asset->content_type) + "; charset=utf-8");
        });
    server.Get("/api/status", [this](const httplib::Request&, httplib::Response& res) { status(res); });
    server.Get("/api/apps", [this](const httplib::Request&, httplib::Response& res) {
        auto answer = hosts_.command("springboard", "apps");
        send_json(res, answer.value("ok", false) ? 200 : 502, answer);
    });
    server.Get("/api/icon", [this](const httplib::Request& req, httplib::Response& res) { icon(req, res); });
    server.Get("/api/log", [this](const httplib::Request&, httplib::Response& res) {
        auto answer = hosts_.command("springboard", "log");
        send_json(res, answer.value("ok", false) ? 200 : 502, answer);
    });
    server.Get("/api/contrast", [this](const httplib::Request&, httplib::Response& res) { contrast(res); });
    server.Get("/api/frame",
               [this](const httplib::Request& req, httplib::Response& res) { frame(req, res); });
    server.post_json("/api/action", [this](const httplib::Request&, const std::string& body,
                                           httplib::Response& res) { action(body, res); });
}

void ServePage::icon(const httplib::Request& req, httplib::Response& res) {
    if (!req.has_param("app"))
        return send_json(res, 400, {{"error", "'app' is missing"}});
    const std::string app = req.get_param_value("app");
    if (!is_bundle_identifier(app))
        return send_json(res, 400, {{"error", "'app' is not a bundle identifier"}});
    auto answer = hosts_.command("springboard", "icon " + sim::quote_word(app));
    send_json(res, answer.value("ok", false) ? 200 : 502, answer);
}

void ServePage::status(httplib::Response& res) {
    json hosts = hosts_.status();
    bool settings_up = hosts_.state("settings") == sim::HostState::Up;
    send_json(res, 200,
              {{"hosts", hosts},
               {"screen", frames_.showing()},
               {"settings_url", settings_up ? json("http://127.0.0.1:" + std::to_string(settings_port_) + "/")
                                            : json(nullptr)},
               {"settings_message", settings_up ? "" : kSettingsUnavailable}});
}

void ServePage::frame(const httplib::Request& req, httplib::Response& res) {
    uint64_t since = 0;
    if (req.has_param("since")) {
        const std::string text = req.get_param_value("since");
        if (text.empty() || text.size() > kMaxFrameDigits ||
            text.find_first_not_of("0123456789") != std::string::npos)
            return send_json(res, 400, {{"error", "'since' must be a frame number"}});
        since = std::stoull(text);
    }
    auto frame = frames_.wait_for_frame(since, kFrameWait);
    res.set_header("X-Frame-Sequence", std::to_string(frame.sequence));
    res.set_header("X-Frame-Role", frame.role);
    res.set_header("Cache-Control", "no-store");
    if (frame.sequence == since || frame.sequence == 0) {
        res.status = 204;
        return;
    }
    if (frame.png.empty())
        return send_json(res, 503,
                         {{"error", frame.error}, {"role", frame.role}, {"sequence", frame.sequence}});
    res.set_content(frame.png, "image/png");
}

void ServePage::contrast(httplib::Response& res) {
    const std::string role = frames_.showing();
    auto answer = hosts_.command(role, "text-audit --failing");
    if (!answer.value("ok", false))
        return send_json(
            res, 502,
            {{"error", answer.value("error", "the host did not measure its texts")}, {"role", role}});
    // Only what the outlines need: the box in screen points and the ratio against its threshold.
    json texts = json::array();
    for (const auto& text : answer.value("texts", json::array()))
        texts.push_back({{"text", text.value("text", "")},
                         {"box", text.value("box", json::array())},
                         {"ratio", text["contrast"].value("worst_tenth", 0.0)},
                         {"threshold", text.value("threshold", 0.0)}});
    send_json(res, 200, {{"role", role}, {"texts", texts}});
}

std::string ServePage::detail_of(const std::string& role) const {
    for (const auto& host : hosts_.status())
        if (host["role"] == role)
            return host["detail"];
    return "no such host";
}

void ServePage::action(const std::string& body, httplib::Response& res) {
    json request = json::parse(body, nullptr, false);
    if (request.is_discarded())
        return send_json(res, 400, {{"error", "the body is not JSON"}});
    auto result = plan_action(request);
    if (!result)
        return send_json(res, 400, {{"error", result.error()}});
    json answers = json::array();
    std::optional<std::string> show = result->show;
    // Input goes to the screen on show; what a host's answer asks for next runs after it, once.
    std::vector<HostCommandLine> commands = result->commands;
    const std::string showing = frames_.showing();
    for (auto& command : commands)
        if (command.role == kScreenOnShow)
            command.role = showing;
    const size_t planned = commands.size();
    for (size_t i = 0; i < commands.size(); ++i) {
        auto answer = hosts_.command(commands[i].role, commands[i].line);
        answers.push_back(answer);
        if (!answer.value("ok", false)) {
            frames_.poke();
            return send_json(res, 502,
                             {{"error", answer.value("error", "the host refused")}, {"answers", answers}});
        }
        if (!result->follow_ups || i >= planned)
            continue;
        auto next = follow_up_of(answer);
        if (!next) {
            frames_.poke();
            return send_json(res, 502, {{"error", next.error()}, {"answers", answers}});
        }
        commands.insert(commands.end(), next->commands.begin(), next->commands.end());
        if (next->show)
            show = next->show;
    }
    if (result->notification)
        platform::foundation::CFNotificationCenterPostNotification(
            platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(), result->notification->c_str(),
            nullptr, nullptr, true);
    std::string not_back;
    for (const auto& role : result->revive)
        if (!hosts_.revive(role))
            not_back += (not_back.empty() ? "" : ", ") + role + " (" + detail_of(role) + ")";
    if (show)
        frames_.show(*show);
    frames_.poke();
    if (!not_back.empty())
        return send_json(res, 502, {{"error", "could not bring back " + not_back}, {"answers", answers}});
    send_json(res, 200, {{"ok", true}, {"answers", answers}});
}

} // namespace zimtone::cli
