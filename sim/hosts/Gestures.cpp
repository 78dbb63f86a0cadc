#include "sim/hosts/Gestures.h"

#include <algorithm>
#include <cmath>

namespace zimtone::sim {

using namespace gesture_limits;

namespace {

bool contains(const CGRect& rect, CGPoint point) {
    return point.x >= rect.minX() && point.x < rect.maxX() && point.y >= rect.minY() && point.y < rect.maxY();
}

std::optional<size_t> row_at(const std::vector<CGRect>& rows, CGPoint point) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (contains(rows[i], point))
            return i;
    return std::nullopt;
}

// A finger that wanders out and comes back was still no tap.
bool is_tap(const std::vector<CGPoint>& path) {
    const CGPoint start = path.front();
    return std::all_of(path.begin(), path.end(),
                       [&](CGPoint p) { return std::hypot(p.x - start.x, p.y - start.y) <= kTapSlop; });
}

// A tap that went down and came up inside the same one of the rows.
std::optional<size_t> tapped_row(const std::vector<CGPoint>& path, const std::vector<CGRect>& rows) {
    if (!is_tap(path))
        return std::nullopt;
    auto row = row_at(rows, path.front());
    if (row && contains(rows[*row], path.back()))
        return row;
    return std::nullopt;
}

RecognisedGesture on_lock_screen(const std::vector<CGPoint>& path, const GestureScene& scene) {
    const CGPoint start = path.front(), end = path.back();
    if (start.y >= kUnlockZoneTop && end.x - start.x >= kUnlockSlide &&
        std::abs(end.y - start.y) <= kUnlockMaxDrift)
        return {Gesture::Unlock};
    if (auto row = tapped_row(path, scene.lock_notifications))
        return {Gesture::OpenLockScreenNotification, *row};
    return {};
}

std::optional<RecognisedGesture> on_banner(const std::vector<CGPoint>& path, const GestureScene& scene) {
    const CGPoint start = path.front(), end = path.back();
    if (!scene.banner || !contains(*scene.banner, start))
        return std::nullopt;
    const double dy = end.y - start.y;
    if (dy <= -kBannerSwipeUp)
        return RecognisedGesture{Gesture::DismissBanner};
    if (is_tap(path)) {
        if (scene.banner_pulled_down)
            if (auto button = tapped_row(path, scene.banner_actions))
                return RecognisedGesture{Gesture::BannerAction, *button};
        return RecognisedGesture{Gesture::OpenBanner};
    }
    if (dy >= kBannerPullDown && scene.banner_has_actions && !scene.banner_pulled_down)
        return RecognisedGesture{Gesture::PullDownBanner};
    // A banner without actions pulled from the top edge opens Notification Center below.
    if (scene.banner_has_actions || start.y > kTopEdge)
        return RecognisedGesture{};
    return std::nullopt;
}

} // namespace

const char* gesture_name(Gesture gesture) {
    switch (gesture) {
    case Gesture::None:
        return "none";
    case Gesture::OpenNotificationCenter:
        return "nc-open";
    case Gesture::CloseNotificationCenter:
        return "nc-close";
    case Gesture::DismissBanner:
        return "banner-dismiss";
    case Gesture::OpenBanner:
        return "banner-open";
    case Gesture::PullDownBanner:
        return "banner-pull-down";
    case Gesture::BannerAction:
        return "banner-action";
    case Gesture::Unlock:
        return "unlock";
    case Gesture::OpenLockScreenNotification:
        return "lockscreen-open";
    case Gesture::OpenNotificationCenterNotification:
        return "nc-row-open";
    }
    return "none";
}

RecognisedGesture recognise_gesture(const std::vector<CGPoint>& path, const GestureScene& scene) {
    if (path.empty() || scene.asleep)
        return {};
    if (scene.locked)
        return on_lock_screen(path, scene);
    const CGPoint start = path.front(), end = path.back();
    if (scene.notification_center_open) {
        if (start.y - end.y >= kNotificationCenterDrag)
            return {Gesture::CloseNotificationCenter};
        // Headers, their clear buttons and the mode control are the views' own taps.
        if (auto row = tapped_row(path, scene.notification_rows))
            return {Gesture::OpenNotificationCenterNotification, *row};
        return {};
    }
    if (auto banner = on_banner(path, scene))
        return *banner;
    if (start.y <= kTopEdge && end.y - start.y >= kNotificationCenterDrag)
        return {Gesture::OpenNotificationCenter};
    return {};
}

} // namespace zimtone::sim
