// Which gesture a touch made, from its points and what the screen shows; thresholds at their
// boundaries.
#include <set>

#include <gtest/gtest.h>

#include "sim/hosts/Gestures.h"

namespace {

using namespace zimtone::sim;
using namespace zimtone::sim::gesture_limits;
using platform::foundation::CGRectMake;

GestureScene home_screen() {
    return {};
}

GestureScene with_banner(bool has_actions, bool pulled_down) {
    GestureScene scene;
    scene.banner = CGRectMake(0, 0, 375, pulled_down ? 120 : 76);
    scene.banner_has_actions = has_actions;
    scene.banner_pulled_down = pulled_down;
    if (pulled_down)
        scene.banner_actions = {CGRectMake(8, 64, 179.5, 36), CGRectMake(187.5, 64, 179.5, 36)};
    return scene;
}

GestureScene nc_open() {
    GestureScene scene;
    scene.notification_center_open = true;
    return scene;
}

// Two apps' sections: a header (with its clear button at the right) above each app's rows.
GestureScene nc_with_rows() {
    GestureScene scene = nc_open();
    scene.notification_rows = {CGRectMake(0, 160, 375, 80), CGRectMake(0, 240, 375, 80),
                               CGRectMake(0, 360, 375, 80)};
    return scene;
}

GestureScene lock_screen() {
    GestureScene scene;
    scene.locked = true;
    scene.lock_notifications = {CGRectMake(0, 200, 375, 96), CGRectMake(0, 296, 375, 96)};
    return scene;
}

std::vector<CGPoint> drag(CGPoint from, double dx, double dy) {
    return {from, {from.x + dx / 2, from.y + dy / 2}, {from.x + dx, from.y + dy}};
}

TEST(Gestures, EachTouchIsTheGestureThePhoneMakesOfIt) {
    struct Case {
        const char* name;
        GestureScene scene;
        std::vector<CGPoint> path;
        RecognisedGesture expected;
    };
    const Case cases[] = {
        {"drag down from the top edge opens NC",
         home_screen(),
         drag({180, 5}, 0, 200),
         {Gesture::OpenNotificationCenter}},
        {"exactly at the top edge and exactly the distance",
         home_screen(),
         drag({180, kTopEdge}, 0, kNotificationCenterDrag),
         {Gesture::OpenNotificationCenter}},
        {"a drag starting just below the edge is none",
         home_screen(),
         drag({180, kTopEdge + 0.5}, 0, 200),
         {}},
        {"a drag just short of the distance is none",
         home_screen(),
         drag({180, 5}, 0, kNotificationCenterDrag - 0.5),
         {}},
        {"a tap on the home screen is none", home_screen(), {{100, 300}, {100, 300}}, {}},
        {"swipe up while NC is open closes it",
         nc_open(),
         drag({180, 600}, 0, -kNotificationCenterDrag),
         {Gesture::CloseNotificationCenter}},
        {"a short swipe up leaves NC open",
         nc_open(),
         drag({180, 600}, 0, -(kNotificationCenterDrag - 0.5)),
         {}},
        {"a tap in NC goes to its views", nc_open(), {{100, 300}, {100, 300}}, {}},
        {"a drag down in NC is none", nc_open(), drag({180, 5}, 0, 300), {}},
        {"tap inside NC's second row opens it",
         nc_with_rows(),
         {{100, 280}, {102, 283}, {100, 281}},
         {Gesture::OpenNotificationCenterNotification, 1}},
        {"tap on the boundary of two rows belongs to the lower one",
         nc_with_rows(),
         {{100, 240}, {100, 240}},
         {Gesture::OpenNotificationCenterNotification, 1}},
        {"tap on the left edge of a row",
         nc_with_rows(),
         {{0, 200}, {0, 200}},
         {Gesture::OpenNotificationCenterNotification, 0}},
        {"tap on the bottom edge of the last row is outside it",
         nc_with_rows(),
         {{100, 440}, {100, 440}},
         {}},
        {"tap on the header between the sections goes to the views",
         nc_with_rows(),
         {{100, 340}, {100, 340}},
         {}},
        {"tap on the header's clear button goes to the views", nc_with_rows(), {{355, 340}, {355, 340}}, {}},
        {"tap on the mode control goes to the views", nc_with_rows(), {{187, 40}, {187, 40}}, {}},
        {"a tap that slides into the next row opens neither", nc_with_rows(), {{100, 236}, {100, 244}}, {}},
        {"a row tap moving exactly the slop",
         nc_with_rows(),
         {{100, 180}, {100 + kTapSlop, 180}},
         {Gesture::OpenNotificationCenterNotification, 0}},
        {"a drag across a row scrolls, opening nothing",
         nc_with_rows(),
         drag({100, 200}, 0, kTapSlop + 1),
         {}},
        {"a sideways drag along a row opens nothing", nc_with_rows(), drag({40, 200}, 200, 0), {}},
        {"a swipe up from a row still closes NC",
         nc_with_rows(),
         drag({100, 300}, 0, -kNotificationCenterDrag),
         {Gesture::CloseNotificationCenter}},
        {"rows of a closed NC are not there",
         [] {
             auto s = nc_with_rows();
             s.notification_center_open = false;
             return s;
         }(),
         {{100, 280}, {100, 280}},
         {}},
        {"swipe a banner up dismisses it",
         with_banner(false, false),
         drag({180, 50}, 0, -kBannerSwipeUp),
         {Gesture::DismissBanner}},
        {"a smaller swipe up is no dismissal",
         with_banner(false, false),
         drag({180, 50}, 0, -(kBannerSwipeUp - 0.5)),
         {}},
        {"tap a banner opens it",
         with_banner(false, false),
         {{180, 40}, {183, 42}, {180, 40}},
         {Gesture::OpenBanner}},
        {"a finger that strays past the slop and returns is no tap",
         with_banner(false, false),
         {{180, 40}, {180 + kTapSlop + 1, 40}, {180, 40}},
         {}},
        {"movement exactly at the slop is still a tap",
         with_banner(false, false),
         {{180, 40}, {180 + kTapSlop, 40}},
         {Gesture::OpenBanner}},
        {"pull a banner with actions down",
         with_banner(true, false),
         drag({180, 40}, 0, kBannerPullDown),
         {Gesture::PullDownBanner}},
        {"a shorter pull is none", with_banner(true, false), drag({180, 40}, 0, kBannerPullDown - 0.5), {}},
        {"pulling a pulled-down banner again is none", with_banner(true, true), drag({180, 40}, 0, 100), {}},
        {"a banner without actions pulled from the top edge opens NC",
         with_banner(false, false),
         drag({180, 10}, 0, 200),
         {Gesture::OpenNotificationCenter}},
        {"a banner without actions pulled from lower down is none",
         with_banner(false, false),
         drag({180, 40}, 0, 200),
         {}},
        {"a banner with actions pulled from the top edge shows them",
         with_banner(true, false),
         drag({180, 10}, 0, 200),
         {Gesture::PullDownBanner}},
        {"tap the second action of a pulled-down banner",
         with_banner(true, true),
         {{250, 80}, {250, 80}},
         {Gesture::BannerAction, 1}},
        {"tap the first action", with_banner(true, true), {{20, 70}, {20, 70}}, {Gesture::BannerAction, 0}},
        {"a tap beside the actions opens the banner",
         with_banner(true, true),
         {{4, 80}, {4, 80}},
         {Gesture::OpenBanner}},
        {"a touch below the banner is none", with_banner(true, false), {{180, 300}, {180, 300}}, {}},
        {"slide to unlock", lock_screen(), drag({40, 600}, kUnlockSlide, 0), {Gesture::Unlock}},
        {"a slide just short of half the width stays locked",
         lock_screen(),
         drag({40, 600}, kUnlockSlide - 0.5, 0),
         {}},
        {"a slide to the left stays locked", lock_screen(), drag({340, 600}, -kUnlockSlide, 0), {}},
        {"a slide starting above the zone stays locked",
         lock_screen(),
         drag({40, kUnlockZoneTop - 0.5}, 300, 0),
         {}},
        {"a slide from the zone's top line unlocks",
         lock_screen(),
         drag({40, kUnlockZoneTop}, 300, 0),
         {Gesture::Unlock}},
        {"a slide drifting too far stays locked",
         lock_screen(),
         drag({40, 600}, 250, -(kUnlockMaxDrift + 0.5)),
         {}},
        {"a slide drifting at the limit unlocks",
         lock_screen(),
         drag({40, 600}, 250, -kUnlockMaxDrift),
         {Gesture::Unlock}},
        {"tap the second lock-screen notification",
         lock_screen(),
         {{100, 320}, {100, 320}},
         {Gesture::OpenLockScreenNotification, 1}},
        {"a tap between rows is none", lock_screen(), {{100, 150}, {100, 150}}, {}},
        {"no NC while locked", lock_screen(), drag({180, 5}, 0, 300), {}},
        {"nothing while asleep",
         [] {
             auto s = lock_screen();
             s.asleep = true;
             return s;
         }(),
         drag({40, 600}, 300, 0),
         {}},
        {"an empty path is none", home_screen(), {}, {}},
    };
    for (const auto& c : cases) {
        auto got = recognise_gesture(c.path, c.scene);
        EXPECT_EQ(got.gesture, c.expected.gesture) << c.name << ": got " << gesture_name(got.gesture)
                                                   << ", expected " << gesture_name(c.expected.gesture);
        EXPECT_EQ(got.index, c.expected.index) << c.name;
    }
}

TEST(Gestures, EachGestureHasItsOwnName) {
    const Gesture all[] = {Gesture::None,
                           Gesture::OpenNotificationCenter,
                           Gesture::CloseNotificationCenter,
                           Gesture::DismissBanner,
                           Gesture::OpenBanner,
                           Gesture::PullDownBanner,
                           Gesture::BannerAction,
                           Gesture::Unlock,
                           Gesture::OpenLockScreenNotification,
                           Gesture::OpenNotificationCenterNotification};
    std::set<std::string> names;
    for (auto g : all)
        names.insert(gesture_name(g));
    EXPECT_EQ(names.size(), std::size(all));
    EXPECT_STREQ(gesture_name(Gesture::OpenNotificationCenter), "nc-open");
}

} // namespace
