// The routes of the device page over the launcher's hosts and screen feed: the page's files,
// the process status, the app list, the screen frames and the controls. Every request first
// passes the security gate.
#pragma once

#include <httplib.h>

#include "sim/launcher/FrameFeed.h"
#include "sim/launcher/HostSupervisor.h"

namespace zimtone::cli {

// What the page says in place of the Settings app when its host did not start.
inline constexpr const char* kSettingsUnavailable = "Settings app not available";

class ServePage {
public:
    ServePage(sim::HostSupervisor& hosts, sim::FrameFeed& frames, int settings_port)
        : hosts_(hosts), frames_(frames), settings_port_(settings_port) {}

    // Routes on a server that listens on 127.0.0.1:port.
    void install(httplib::Server& server, int port);

private:
    void status(httplib::Response& res);
    void frame(const httplib::Request& req, httplib::Response& res);
    void action(const httplib::Request& req, httplib::Response& res);

    sim::HostSupervisor& hosts_;
    sim::FrameFeed& frames_;
    int settings_port_;
};

} // namespace zimtone::cli
