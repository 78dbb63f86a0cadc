// The QuickReply surface of its host process: host classes and commands.
#include "sim/hosts/SurfaceHosts.h"

namespace zimtone::sim {

void set_up_quick_reply_host(HostProcess&) {}

} // namespace zimtone::sim

namespace zimtone::sim {

void set_up_keyboard_classes() {}

} // namespace zimtone::sim
