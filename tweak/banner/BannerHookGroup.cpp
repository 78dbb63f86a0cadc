// The Banner hook group: its rows in installation order.
#include "tweak/HookGroups.h"

namespace zimtone::tweak {

// Rows arrive with the surface's hooks; until then the group installs nothing.
HookGroup banner_group() { return { "Banner", {} }; }

} // namespace zimtone::tweak
