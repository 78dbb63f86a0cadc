#include "sim/hosts/SettingsHostServer.h"

#include <fstream>
#include <future>

#include <httplib.h>

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/RunLoop.h"
#include "sim/hosts/SettingsHostGuard.h"
#include "sim/http/PageServer.h"

namespace zimtone::sim {

using nlohmann::json;

namespace {

// Runs a task on the main run loop and waits for its answer. A task that throws must not take the
// run loop down: the exception goes to this thread instead, where the server answers it as an error.
template <class T> std::optional<T> on_main(std::function<T()> task) {
    auto promise = std::make_shared<std::promise<T>>();
    auto answer = promise->get_future();
    platform::foundation::RunLoop::main().post([promise, task = std::move(task)] {
        try {
            promise->set_value(task());
        } catch (...) {
            promise->set_exception(std::current_exception());
        }
    });
    if (answer.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        return std::nullopt;
    return answer.get();
}

void send_json(httplib::Response& res, int status, const json& body) {
    res.status = status;
    res.set_content(body.dump(), "application/json");
}

void refuse(httplib::Response& res, int status, const std::string& why) {
    send_json(res, status, {{"error", why}});
}

std::string content_type_of(const std::filesystem::path& file) {
    auto ext = file.extension().string();
    if (ext == ".html")
        return "text/html; charset=utf-8";
    if (ext == ".js" || ext == ".mjs")
        return "text/javascript; charset=utf-8";
    if (ext == ".css")
        return "text/css; charset=utf-8";
    if (ext == ".png")
        return "image/png";
    return "application/octet-stream";
}

bool send_file(httplib::Response& res, const std::optional<std::filesystem::path>& file) {
    if (!file)
        return false;
    std::ifstream in(*file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof())
        return false;
    res.set_content(bytes, content_type_of(*file).c_str());
    return true;
}

} // namespace

SettingsHostServer::SettingsHostServer(SettingsHostPane& pane, std::filesystem::path web_folder)
    : pane_(pane), web_folder_(std::move(web_folder)), server_(std::make_unique<http::PageServer>()) {}

SettingsHostServer::~SettingsHostServer() {
    server_->stop();
    if (thread_.joinable())
        thread_.join();
}

int SettingsHostServer::start(int port) {
    route();
    if (server_->bind_loopback(port) < 0)
        return -1;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    return server_->port();
}

int SettingsHostServer::port() const {
    return server_->port();
}

void SettingsHostServer::route() {
    auto& s = *server_;
    frame_policy_ = settings_frame_policy(embedder_port_);
    s.on_admitted = [this](const httplib::Request&, httplib::Response& res) {
        res.set_header("X-Content-Type-Options", "nosniff");
        // Framing is refused except by the device page that embeds the Settings app beside the
        // screen. X-Frame-Options cannot name an allowed origin, so it is sent only when nobody
        // may frame the page.
        res.set_header("Content-Security-Policy", frame_policy_);
        if (frame_policy_ == settings_frame_policy(0))
            res.set_header("X-Frame-Options", "DENY");
        res.set_header("Cache-Control", "no-store");
    };
    s.Get("/", [this](const httplib::Request&, httplib::Response& res) {
        if (!send_file(res, file_inside(web_folder_, "index.html")))
            refuse(res, 404, "the page is not installed");
    });
    s.Get(R"(/static/(.+))", [this](const httplib::Request& req, httplib::Response& res) {
        if (!send_file(res, file_inside(web_folder_, req.matches[1].str())))
            refuse(res, 404, "no such file");
    });
    s.Get(R"(/bundle/(.+))", [](const httplib::Request& req, httplib::Response& res) {
        auto root = platform::foundation::resolve_device_path(kPaneBundleDir);
        if (!send_file(res, file_inside(root, req.matches[1].str())))
            refuse(res, 404, "no such file in the bundle");
    });
    s.Get(R"(/icons/([A-Za-z0-9._-]+))", [](const httplib::Request& req, httplib::Response& res) {
        std::string id = req.matches[1].str();
        auto folder =
            on_main<std::optional<std::filesystem::path>>([id]() -> std::optional<std::filesystem::path> {
                for (const auto& app : platform::applist::ALApplicationList::sharedApplicationList()->apps())
                    if (app.bundle_identifier == id)
                        return app.bundle_folder;
                return std::nullopt;
            });
        if (!folder || !*folder)
            return refuse(res, 404, "no such app");
        for (const char* name : {"Icon-Small@2x.png", "Icon-Small.png", "Icon-Small@3x.png"})
            if (send_file(res, file_inside(**folder, name)))
                return;
        refuse(res, 404, "the app has no icon");
    });
    s.Get("/api/page", [this](const httplib::Request&, httplib::Response& res) {
        auto page = on_main<json>([this] { return pane_.page(); });
        if (!page)
            return refuse(res, 503, "the Settings app is busy");
        send_json(res, page->contains("error") ? 500 : 200, *page);
    });
    s.post_json(
        "/api/action", [this](const httplib::Request&, const std::string& body, httplib::Response& res) {
            json action = json::parse(body, nullptr, false);
            if (action.is_discarded() || !action.is_object())
                return refuse(res, 400, "the action is not a JSON object");
            auto answer =
                on_main<platform::foundation::Result<json>>([this, action] { return pane_.act(action); });
            if (!answer)
                return refuse(res, 503, "the Settings app is busy");
            if (!*answer)
                return refuse(res, 409, answer->error());
            send_json(res, 200, **answer);
        });
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty())
            refuse(res, res.status, "request refused (" + std::to_string(res.status) + ")");
    });
}

} // namespace zimtone::sim
