// What the tweak holds in this process, for the host's "settings" command and the device page.
#include <string>

#include "settings/SettingsJson.h"
#include "tweak/Startup.h"

extern "C" __attribute__((visibility("default"))) const char* ZimtoneDiagnosticsJSON() {
    thread_local std::string text;
    const auto& r = zimtone::tweak::last_startup();
    nlohmann::json j = {
        {"settings", zimtone::settings::settings_json(zimtone::settings::state())},
        {"groups",
         {{"NotificationCenter", r.notification_center},
          {"Banner", r.banner},
          {"Lockscreen", r.lockscreen},
          {"QuickReply", r.quick_reply}}},
        {"replaced", r.counts.replaced},
        {"added", r.counts.added},
    };
    text = j.dump();
    return text.c_str();
}
