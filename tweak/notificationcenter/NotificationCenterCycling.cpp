#include "tweak/notificationcenter/NotificationCenterCycling.h"

#include "platform/uikit/UIColor.h"
#include "settings/SettingsState.h"
#include "tweak/CyclingColour.h"
#include "tweak/notificationcenter/nc_colours.h"

namespace zimtone::tweak::notificationcenter {

using namespace platform::runtime;
using platform::uikit::UIColor;
using zimtone::settings::state;

namespace {

Ref<Object> random_colour() {
    const auto& s = state();
    return UIColor::with(next_cycling_colour(s.NotificationCenterAlpha, s.AllowSaturationNotification,
                                             s.NotificationCenterSaturation));
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
    msg(controller, "setColorTimer:"_sel, schedule_cycling_timer(controller, "changeBackgroundColor"_sel));
}

void changeBackgroundColor(Object*, SEL) {
    cell_cycling_list().for_each_live(paint);
    header_cycling_list().for_each_live(
        [](Object* header) { paint(msg<Ref<Object>>(header, "contentView"_sel).get()); });
}

} // namespace zimtone::tweak::notificationcenter
