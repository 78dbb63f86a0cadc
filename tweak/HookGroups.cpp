#include "tweak/HookGroups.h"

namespace zimtone::tweak {

// Each surface fills its group as its hooks are built; an empty group installs nothing.
HookGroup notification_center_group() { return { "NotificationCenter", {} }; }
HookGroup banner_group() { return { "Banner", {} }; }
HookGroup lockscreen_group() { return { "Lockscreen", {} }; }
HookGroup quick_reply_group() { return { "QuickReply", {} }; }

} // namespace zimtone::tweak
