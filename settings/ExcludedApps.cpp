#include "settings/ExcludedApps.h"

#include <string>
#include <unordered_set>

namespace zimtone::settings {

namespace {
const std::unordered_set<std::string_view>& system_set() {
    static const std::unordered_set<std::string_view> set(kExcludedSystemApps.begin(),
                                                          kExcludedSystemApps.end());
    return set;
}
} // namespace

bool is_excluded_system_app(std::string_view identifier) {
    return system_set().contains(identifier);
}

bool is_excluded_from_pane(std::string_view identifier) {
    if (is_excluded_system_app(identifier))
        return true;
    for (auto id : kExcludedByPaneOnly)
        if (id == identifier)
            return true;
    return false;
}

} // namespace zimtone::settings
