// Each surface of a host process registers its host classes and its commands here.
#pragma once

#include "sim/hosts/HostProcess.h"

namespace zimtone::sim {

// Home screen.
void set_up_banner_host(HostProcess& host);
void set_up_notification_center_host(HostProcess& host);
void set_up_lockscreen_host(HostProcess& host);
// Messages notification extension (its keyboard classes exist in the home screen too).
void set_up_keyboard_classes();
void set_up_quick_reply_host(HostProcess& host);

// Settings app.
void set_up_settings_host(HostProcess& host);
// The web page's port; 0 (the default) picks a free one.
void set_settings_port(int port);

} // namespace zimtone::sim
