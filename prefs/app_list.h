// The apps the colour selector lists: by display name, without the system apps it hides.
#pragma once

#include <string>
#include <vector>

#include "platform/foundation/NSDictionary.h"

namespace zimtone::prefs {

// The identifiers of `applications` (identifier to display name) sorted by display name compared
// without regard to case, apps of equal names in the dictionary's order, with the excluded
// identifiers left out. A display name that is not text sorts as the empty name.
std::vector<std::string> listed_app_identifiers(const platform::foundation::NSDictionary& applications);

} // namespace zimtone::prefs
