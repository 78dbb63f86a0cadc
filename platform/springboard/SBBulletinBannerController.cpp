#include "platform/springboard/SBBulletinBannerController.h"

#include "platform/springboard/SBBannerController.h"
#include "platform/springboard/SBBulletinBannerItem.h"

namespace platform::springboard {

using namespace platform::runtime;

namespace {
Ref<Object> sharedInstance(Object*) {
    return Ref<Object>(&SBBulletinBannerController::shared());
}
} // namespace

Class SBBulletinBannerController::runtime_class() {
    static Class cls =
        ClassBuilder<SBBulletinBannerController>("SBBulletinBannerController", NSObject::runtime_class())
            .method<&SBBulletinBannerController::observerAddBulletinForFeedPlayLightsAndSirensWithReply>(
                "observer:addBulletin:forFeed:playLightsAndSirens:withReply:")
            .class_method<&sharedInstance>("sharedInstance")
            .get();
    return cls;
}

SBBulletinBannerController& SBBulletinBannerController::shared() {
    static auto* controller =
        make_object<SBBulletinBannerController>().leak(); // lives as long as the process
    return *controller;
}

void SBBulletinBannerController::observerAddBulletinForFeedPlayLightsAndSirensWithReply(Object*,
                                                                                        BBBulletin* bulletin,
                                                                                        uint64_t, bool,
                                                                                        Object*) {
    if (!bulletin)
        return;
    auto item = SBBulletinBannerItem::with_bulletin(bulletin);
    SBBannerController::shared().present(item.get());
}

} // namespace platform::springboard
