// `zimtone serve`: the live device. Starts the home screen, the Messages extension and the
// Settings app as separate host processes on the current device root and shows them on one web
// page on 127.0.0.1, with the controls that drive them, until Ctrl-C or SIGTERM.
#pragma once

namespace zimtone::cli {

struct ServeOptions {
    int port{8375}; // 0 picks a free port
    bool open_browser{true};
};

// The exit status of the command: 0 after a clean stop, 1 when the device cannot be set up or
// the port cannot be opened.
int run_serve(const ServeOptions& options);

} // namespace zimtone::cli
