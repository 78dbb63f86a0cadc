// Which apps' notifications offer actions in their banner's pull-down row.
#pragma once

#include <string>
#include <vector>

namespace platform::springboard {

// The button titles of a banner for the sending app, in order; empty when the app's
// notifications have no actions.
std::vector<std::string> banner_action_titles(const std::string& section_id);

} // namespace platform::springboard
