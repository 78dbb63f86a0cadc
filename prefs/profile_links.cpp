#include "prefs/profile_links.h"

#include <array>

namespace zimtone::prefs {

std::string profile_url(std::string_view screen_name,
                        const std::function<bool(const std::string&)>& can_open) {
    struct Client {
        const char* probe;
        const char* profile;
    };
    static constexpr std::array<Client, 3> kClients = {{
        {"tweetbot://", "tweetbot:///user_profile/"},
        {"twitterrific://", "twitterrific:///profile?screen_name="},
        {"twitter://", "twitter://user?screen_name="},
    }};
    for (const auto& client : kClients)
        if (can_open(client.probe))
            return client.profile + std::string(screen_name);
    return kTwitterWebRoot + std::string(screen_name);
}

} // namespace zimtone::prefs
