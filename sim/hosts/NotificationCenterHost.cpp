// The NotificationCenter surface of its host process: host classes and commands.
#include "sim/hosts/SurfaceHosts.h"

namespace zimtone::sim {

void set_up_notification_center_host(HostProcess&) {}

} // namespace zimtone::sim
