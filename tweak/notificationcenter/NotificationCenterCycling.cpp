#include "tweak/notificationcenter/NotificationCenterCycling.h"

#include "platform/foundation/Random.h"
#include "platform/uikit/UIColor.h"
#include "settings/SettingsState.h"
#include "tweak/CyclingColour.h"
#include "tweak/notificationcenter/nc_colours.h"

namespace zimtone::tweak::notificationcenter {

using namespace platform::runtime;
using platform::uikit::UIColor;
using zimtone::settings::state;

namespace {

constexpr double kCyclingInterval = 0.5;

Ref<Object> random_colour() {
    const auto& s = state();
    uint32_t red = platform::foundation::arc4random();
    uint32_t green = platform::foundation::arc4random();
    uint32_t blue = platform::foundation::arc4random();
    return UIColor::with(zimtone::tweak::cycling_colour(red, green, blue, s.NotificationCenterAlpha,
                                        s.AllowSaturationNotification, s.NotificationCenterSaturation));
}

void paint(Object* view) {
    if (msg<bool>(view, "respondsToSelector:"_sel, "setBackgroundColor:"_sel))
        msg(view, "setBackgroundColor:"_sel, random_colour());
}

} // namespace

void register_for_cycling(CyclingList& list, Object* entry, Object* controller) {
    list.add(entry);
    if (msg<Ref<Object>>(controller, "colorTimer"_sel))
        return;
    Object* no_info = nullptr;
    auto timer = msg<Ref<Object>>(objc_getClass("NSTimer"),
                                  "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:"_sel,
                                  kCyclingInterval, controller, "changeBackgroundColor"_sel, no_info, true);
    msg(controller, "setColorTimer:"_sel, timer);
}

void changeBackgroundColor(Object*, SEL) {
    cell_cycling_list().for_each_live(paint);
    header_cycling_list().for_each_live(
        [](Object* header) { paint(msg<Ref<Object>>(header, "contentView"_sel).get()); });
}

} // namespace zimtone::tweak::notificationcenter
