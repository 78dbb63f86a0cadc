// The rule of the colour dialog's text: any one character, then six hex digits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zimtone::prefs {

// The six digits, letter case as typed, of a text of exactly seven characters whose last six are
// hex digits; nullopt for anything else ("Not a hex value").
std::optional<std::string> hex_from_entry(std::string_view utf8);

} // namespace zimtone::prefs
