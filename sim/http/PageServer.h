// A loopback web page's server, the same for the device page of `zimtone serve` and the Settings
// app's page: cpp-httplib with the request gate in front of every route, request bodies read
// through a cap whatever their encoding, one server per port, and connections served by a pool
// that slow or idle clients cannot exhaust, each connection within time and byte limits.
#pragma once

#include <httplib.h>

#include <functional>
#include <string>

namespace zimtone::http {

class PageServer : public httplib::Server {
  public:
    PageServer();

    // Binds 127.0.0.1:port, or a free port for 0. The bound port, or -1 when the port is taken.
    int bind_loopback(int port);
    int port() const { return port_; }

    // Runs for every request the gate lets through, before its route: headers every answer carries.
    std::function<void(const httplib::Request&, httplib::Response&)> on_admitted;

    using BodyHandler =
        std::function<void(const httplib::Request&, const std::string& body, httplib::Response&)>;
    // A POST route whose body is read whole before `handler` sees it. A body over the cap is
    // refused with 413 as soon as it passes the cap, chunked or not, without reading the rest.
    void post_json(const std::string& pattern, BodyHandler handler);

  private:
    bool process_and_close_socket(socket_t sock) override;

    int port_{-1};
};

} // namespace zimtone::http
