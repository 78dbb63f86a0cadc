// The settings state as JSON: every key with the value the state holds, and the per-app colours.
#pragma once

#include <nlohmann/json.hpp>

#include "settings/SettingsState.h"

namespace zimtone::settings {

// Doubles print in shortest round-trip form, so 0.3 read in single precision shows as
// 0.30000001192092896. "Specific_App_Color" is null until a load found the key.
nlohmann::json settings_json(const SettingsState& s);

} // namespace zimtone::settings
