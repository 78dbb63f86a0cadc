// The Lockscreen surface of its host process: host classes and commands.
#include "sim/hosts/SurfaceHosts.h"

namespace zimtone::sim {

void set_up_lockscreen_host(HostProcess&) {}

} // namespace zimtone::sim
