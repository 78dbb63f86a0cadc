// The Banner surface of its host process: host classes and commands.
#include "sim/hosts/SurfaceHosts.h"

namespace zimtone::sim {

void set_up_banner_host(HostProcess&) {}

} // namespace zimtone::sim
