#include "sim/hosts/HostRoles.h"

#include "sim/hosts/HomeScreen.h"
#include "sim/hosts/NotificationLog.h"
#include "sim/hosts/Screen.h"
#include "sim/hosts/SurfaceHosts.h"
#include "sim/hosts/TouchInput.h"

namespace zimtone::sim {

std::optional<HostRole> find_host_role(const std::string& role) {
    auto name = parse_role_name(role);
    if (!name)
        return std::nullopt;
    switch (*name) {
    case HostRoleName::springboard:
        return HostRole{role, "com.apple.springboard", [](HostProcess& host) {
                            set_up_screen(host);
                            set_up_home_screen(host);
                            set_up_keyboard_classes();
                            set_up_banner_host(host);
                            set_up_notification_center_host(host);
                            set_up_lockscreen_host(host);
                            set_up_touch_input(host, springboard_touch_surface());
                            set_up_notification_log(host);
                        }};
    case HostRoleName::messages:
        return HostRole{role, "com.apple.mobilesms.notification", [](HostProcess& host) {
                            set_up_screen(host);
                            set_up_keyboard_classes();
                            set_up_quick_reply_host(host);
                            set_up_touch_input(host, messages_touch_surface(host));
                        }};
    case HostRoleName::settings:
        return HostRole{role, "com.apple.Preferences", [](HostProcess& host) { set_up_settings_host(host); }};
    }
    return std::nullopt;
}

} // namespace zimtone::sim
