// The web page of the Settings app: cpp-httplib on a thread of its own, serving the page's files,
// the bundle's images and the app icons, and handing every pane request to the main run loop,
// where the pane's single-threaded code runs.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "sim/hosts/SettingsHostPane.h"

namespace zimtone::http {
class PageServer;
}

namespace zimtone::sim {

class SettingsHostServer {
  public:
    SettingsHostServer(SettingsHostPane& pane, std::filesystem::path web_folder);
    ~SettingsHostServer();

    // Binds 127.0.0.1:port (0 picks a free port) and serves on a thread. The bound port, or -1.
    int start(int port);
    int port() const;
    // Lets the loopback page on that port show this page in a frame; call before start.
    void allow_framing_by(int embedder_port) { embedder_port_ = embedder_port; }

  private:
    void route();

    SettingsHostPane& pane_;
    std::filesystem::path web_folder_;
    std::unique_ptr<http::PageServer> server_;
    std::thread thread_;
    int embedder_port_{0};
    std::string frame_policy_;
};

} // namespace zimtone::sim
