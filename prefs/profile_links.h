// Where a credit row's Twitter profile opens: the first installed client, else the web.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zimtone::prefs {

inline constexpr const char* kTwitterWebRoot = "https://mobile.twitter.com/";

// Tweetbot, then Twitterrific, then Twitter, each when `can_open` accepts its bare scheme URL
// ("tweetbot://"), else the web profile. The name is appended as it is.
std::string profile_url(std::string_view screen_name,
                        const std::function<bool(const std::string&)>& can_open);

} // namespace zimtone::prefs
