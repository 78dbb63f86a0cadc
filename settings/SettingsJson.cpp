#include "settings/SettingsJson.h"

#include "platform/foundation/NSString.h"
#include "settings/Keys.h"

namespace zimtone::settings {

nlohmann::json settings_json(const SettingsState& s) {
    nlohmann::json j = nlohmann::json::object();
    for (auto& info : kKeys) {
        Field field = field_of(info.key);
        if (auto* b = std::get_if<bool SettingsState::*>(&field))
            j[std::string(info.key)] = s.*(*b);
        else
            j[std::string(info.key)] = s.*std::get<double SettingsState::*>(field);
    }
    nlohmann::json colours = nullptr;
    if (s.per_app_colours) {
        colours = nlohmann::json::object();
        for (auto& id : s.per_app_colours->keys())
            if (auto* hex = platform::foundation::string_of(s.per_app_colours->get(id).get()))
                colours[id] = *hex;
    }
    j[kPerAppColoursKey] = colours;
    return j;
}

} // namespace zimtone::settings
