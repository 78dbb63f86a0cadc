// What the control of a settings row can hand to its page: a switch only a boolean, a slider only
// a finite number within its "min" and "max", a text field only text of modest length. Anything
// else reaching a page did not come from the row's control.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/foundation/NSDictionary.h"

namespace platform::preferences {

// Longer text is no setting; far below what a settings file may hold.
inline constexpr size_t max_text_value_bytes = 4096;

// nullopt when the control of a row of `cell_type` with these properties can produce `value`;
// else what the row accepts, e.g. "true or false", "a number from 0 to 1".
std::optional<std::string> refused_control_value(int64_t cell_type,
                                                 const foundation::NSDictionary& properties,
                                                 const runtime::Object* value);

} // namespace platform::preferences
