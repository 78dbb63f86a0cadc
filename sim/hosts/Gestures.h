// The phone's gestures, recognised from the points of one touch (down, moves, up) and what the
// screen shows at the time. A pure function: the host gathers the scene, this decides.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Geometry.h"

namespace zimtone::sim {

using platform::foundation::CGPoint;
using platform::foundation::CGRect;

// Every threshold of the recogniser, in screen points, in one place.
namespace gesture_limits {
// A drag that opens Notification Center starts this close to the top edge.
inline constexpr double kTopEdge = 20;
// How far a drag must travel down to open Notification Center, or up to close it.
inline constexpr double kNotificationCenterDrag = 60;
// A touch that never strays further than this from where it went down is a tap.
inline constexpr double kTapSlop = 10;
// How far a banner must be swiped up to go away, or pulled down to show its actions.
inline constexpr double kBannerSwipeUp = 20;
inline constexpr double kBannerPullDown = 30;
// Slide to unlock: starts below this line, travels right at least this far, and drifts up or
// down by no more than the last.
inline constexpr double kUnlockZoneTop = 400;
inline constexpr double kUnlockSlide = 375.0 / 2;
inline constexpr double kUnlockMaxDrift = 80;
} // namespace gesture_limits

enum class Gesture {
    None, // not a gesture: the touch goes to the views under it
    OpenNotificationCenter,
    CloseNotificationCenter,
    DismissBanner,
    OpenBanner,
    PullDownBanner,
    BannerAction, // a tap on one of a pulled-down banner's action buttons
    Unlock,
    OpenLockScreenNotification,
    OpenNotificationCenterNotification, // a tap on a notification row of Notification Center
};

// The name a host's answer gives the gesture ("nc-open", ...).
const char* gesture_name(Gesture gesture);

// What the screen shows, as far as the gestures care; rectangles are in screen points.
struct GestureScene {
    bool asleep{false};
    bool locked{false};
    bool notification_center_open{false};
    std::optional<CGRect> banner;
    bool banner_has_actions{false};
    bool banner_pulled_down{false};
    std::vector<CGRect> banner_actions;     // the action buttons, while pulled down
    std::vector<CGRect> lock_notifications; // the lock screen's notification rows
    std::vector<CGRect> notification_rows;  // Notification Center's notification rows, as far as seen
};

struct RecognisedGesture {
    Gesture gesture{Gesture::None};
    size_t index{0}; // which action button, lock-screen row or Notification Center row
    bool operator==(const RecognisedGesture&) const = default;
};

// The gesture a finished touch made: `path` holds the point it went down at first and the point
// it came up at last. An empty path is no gesture.
RecognisedGesture recognise_gesture(const std::vector<CGPoint>& path, const GestureScene& scene);

} // namespace zimtone::sim
