// The four hook groups, each defined beside the hooks of its surface.
#pragma once

#include "tweak/HookTable.h"

namespace zimtone::tweak {

HookGroup notification_center_group();
HookGroup banner_group();
HookGroup lockscreen_group();
HookGroup quick_reply_group();

} // namespace zimtone::tweak
