// The routes of the device page over the launcher's hosts and screen feed: the page's files,
// the process status, the app list and the apps' icons, the screen frames, the failing texts and
// the controls. The server's gate stands in front of every route.
#pragma once

#include "sim/http/PageServer.h"

#include "sim/launcher/FrameFeed.h"
#include "sim/launcher/HostSupervisor.h"

namespace zimtone::cli {

// What the page says in place of the Settings app when its host did not start.
inline constexpr const char* kSettingsUnavailable = "Settings app not available";

class ServePage {
  public:
    ServePage(sim::HostSupervisor& hosts, sim::FrameFeed& frames, int settings_port)
        : hosts_(hosts), frames_(frames), settings_port_(settings_port) {}

    void install(http::PageServer& server);

  private:
    void status(httplib::Response& res);
    void frame(const httplib::Request& req, httplib::Response& res);
    // One app's small icon as the home screen gives it: {"app", "icon"} with the icon as base64 PNG.
    void icon(const httplib::Request& req, httplib::Response& res);
    void action(const std::string& body, httplib::Response& res);
    // The texts of the screen on show whose contrast fails, as that screen's host measured them.
    void contrast(httplib::Response& res);
    // Why a host is not up, as its status says.
    std::string detail_of(const std::string& role) const;

    sim::HostSupervisor& hosts_;
    sim::FrameFeed& frames_;
    int settings_port_;
};

} // namespace zimtone::cli
