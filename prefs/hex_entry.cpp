#include "prefs/hex_entry.h"

#include <algorithm>

#include "platform/foundation/NSString.h"

namespace zimtone::prefs {

std::optional<std::string> hex_from_entry(std::string_view utf8) {
    // Seven characters as the platform counts them (UTF-16 units); with six ASCII digits last,
    // the first character is then a single unit of whatever kind.
    if (platform::foundation::NSString(std::string(utf8)).length() != 7 || utf8.size() < 7)
        return std::nullopt;
    std::string digits(utf8.substr(utf8.size() - 6));
    auto is_hex = [](char c) {
        return std::string_view("0123456789ABCDEFabcdef").find(c) != std::string_view::npos;
    };
    if (!std::all_of(digits.begin(), digits.end(), is_hex))
        return std::nullopt;
    return digits;
}

} // namespace zimtone::prefs
