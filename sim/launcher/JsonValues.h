// JSON scenario values as foundation objects, so a scenario can write a settings file.
#pragma once

#include <nlohmann/json.hpp>

#include "platform/runtime/Runtime.h"

namespace zimtone::sim {

// true/false become boolean numbers, numbers become reals, strings, arrays and objects their
// foundation counterparts; null becomes nil.
platform::runtime::Ref<platform::runtime::Object> object_from_json(const nlohmann::json& value);

} // namespace zimtone::sim
