// The tweak's start-up, once per process: observers, application list, settings, hook groups.
#pragma once

#include "tweak/HookTable.h"

namespace zimtone::tweak {

inline constexpr const char* kMessagesExtension = "com.apple.mobilesms.notification";

// What start-up installed, kept for the host's diagnostics.
struct StartupReport {
    bool notification_center{false};
    bool banner{false};
    bool lockscreen{false};
    bool quick_reply{false};
    InstallCounts counts;
};

StartupReport start();
const StartupReport& last_startup();

} // namespace zimtone::tweak
