// The per-app colours of the settings file: an array of one-entry dictionaries, bundle
// identifier to six hex digits.
#pragma once

#include <optional>
#include <string>

#include "platform/foundation/NSArray.h"

namespace zimtone::prefs {

using platform::foundation::NSMutableArray;
using platform::runtime::Object;
using platform::runtime::Ref;

// A new array: the stored one with the first entry for the app given the new value (in place,
// later entries for the app untouched), or with a new entry appended when none had the app.
// A missing value, or one that is not an array, starts a new array.
Ref<NSMutableArray> with_app_colour(const Object* stored, const std::string& bundle_id,
                                    const std::string& hex);

// The value of the first entry for the app; an empty string when that value is not text.
std::optional<std::string> first_app_colour(const Object* stored, const std::string& bundle_id);

} // namespace zimtone::prefs
