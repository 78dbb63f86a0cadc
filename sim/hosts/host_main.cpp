// `zimtone-host ROLE`: one simulated host process of the device. The home screen
// ("springboard") and the Messages notification extension ("messages") load the tweak through
// the injection loader and serve commands on their control socket (and stdin with --stdin).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/PlatformClasses.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/RunLoop.h"
#include "sim/hosts/HostProcess.h"
#include "sim/hosts/HostRoles.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/SurfaceHosts.h"

int main(int argc, char** argv) {
    bool on_stdin = false;
    std::string role;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--stdin") == 0)
            on_stdin = true;
        else if (std::strcmp(argv[i], "--virtual-clock") == 0)
            platform::foundation::RunLoop::main().use_virtual_clock(0);
        else if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc)
            zimtone::sim::set_settings_port(std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc)
            platform::foundation::set_device_root(argv[++i]);
        else if (std::strcmp(argv[i], "--output-folder") == 0 && i + 1 < argc)
            zimtone::sim::allow_screenshot_folder(argv[++i]);
        else if (std::strcmp(argv[i], "--follow-settings") == 0)
            zimtone::sim::set_follow_settings(true);
        else if (role.empty())
            role = argv[i];
        else
            role = "?";
    }
    auto host_role = zimtone::sim::find_host_role(role);
    if (!host_role) {
        std::fprintf(stderr,
                     "zimtone-host: unknown role '%s'\nUsage: zimtone-host springboard|messages|settings "
                     "[--stdin] [--virtual-clock] [--root DIR] [--port N] [--output-folder DIR] "
                     "[--follow-settings]\n",
                     role.c_str());
        return 2;
    }
    platform::register_platform_classes();
    zimtone::sim::HostProcess host(host_role->role, host_role->bundle_identifier);
    host_role->set_up(host);
    return host.run(on_stdin);
}
