// Turns bulletins into banner items for the banner controller.
#pragma once

#include "platform/springboard/BBBulletin.h"

namespace platform::springboard {

// Runtime class "SBBulletinBannerController", one per process ("sharedInstance"). Only the
// five-argument way of adding a bulletin exists, as on this version of the home screen.
class SBBulletinBannerController : public runtime::NSObject {
  public:
    static runtime::Class runtime_class();
    static SBBulletinBannerController& shared();

    // Presents a banner for the bulletin (the observer, feed, lights and reply play no part
    // here); a nil bulletin is ignored.
    void observerAddBulletinForFeedPlayLightsAndSirensWithReply(Object* observer, BBBulletin* bulletin,
                                                                uint64_t feed, bool play_lights_and_sirens,
                                                                Object* reply);
};

} // namespace platform::springboard
