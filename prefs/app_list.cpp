#include "prefs/app_list.h"

#include <algorithm>
#include <cctype>

#include "platform/foundation/NSString.h"
#include "settings/ExcludedApps.h"

namespace zimtone::prefs {

namespace {
bool less_ignoring_case(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}
} // namespace

std::vector<std::string> listed_app_identifiers(const platform::foundation::NSDictionary& applications) {
    std::vector<std::pair<std::string, std::string>> apps; // name, identifier
    for (const auto& id : applications.keys()) {
        const std::string* name = platform::foundation::string_of(applications.get(id).get());
        apps.emplace_back(name ? *name : std::string(), id);
    }
    std::stable_sort(apps.begin(), apps.end(),
                     [](auto& a, auto& b) { return less_ignoring_case(a.first, b.first); });
    std::vector<std::string> listed;
    for (auto& [name, id] : apps)
        if (!zimtone::settings::is_excluded_from_pane(id))
            listed.push_back(id);
    return listed;
}

} // namespace zimtone::prefs
