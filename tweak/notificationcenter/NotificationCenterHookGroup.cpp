// The NotificationCenter hook group: its rows in installation order.
#include "tweak/HookGroups.h"

namespace zimtone::tweak {

// Rows arrive with the surface's hooks; until then the group installs nothing.
HookGroup notification_center_group() { return { "NotificationCenter", {} }; }

} // namespace zimtone::tweak
