#include "platform/springboard/BannerActions.h"

#include <map>

namespace platform::springboard {

std::vector<std::string> banner_action_titles(const std::string& section_id) {
    // Apps of the sample device with a dark, a light and a saturated icon each, so banners of
    // every kind of tint show buttons.
    static const std::map<std::string, std::vector<std::string>> actions = {
        {"com.apple.MobileSMS", {"Reply", "Mark as Read"}},
        {"com.apple.mobilemail", {"Archive", "Mark as Read"}},
        {"com.apple.mobilephone", {"Call Back", "Message"}},
        {"com.apple.calculator", {"Copy", "Clear"}},
        {"com.example.zebra", {"Collect", "Later"}},
        {"com.apple.mobilenotes", {"Open", "Share"}},
        {"com.apple.mobilesafari", {"Open", "Later"}},
    };
    auto it = actions.find(section_id);
    return it == actions.end() ? std::vector<std::string>{} : it->second;
}

} // namespace platform::springboard
