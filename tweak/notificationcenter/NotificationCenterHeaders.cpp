#include "tweak/notificationcenter/NotificationCenterHeaders.h"

#include "settings/SettingsState.h"
#include "tweak/notificationcenter/NotificationCenterCycling.h"
#include "tweak/notificationcenter/SectionColours.h"

namespace zimtone::tweak::notificationcenter {

using namespace platform::runtime;
using zimtone::settings::state;

IMP original_vibrantInitWithFrame = nullptr;
IMP original_setHasClearButton = nullptr;
IMP original_todayViewForHeader = nullptr;
IMP original_notificationsViewForHeader = nullptr;

namespace {

Ref<Object> colour_header(Ref<Object> header, Object* controller, int64_t section, ListKind kind) {
    HeaderPlan plan = plan_header(current_settings(), msg<bool>(header, "sectionHasClearButton"_sel));
    if (!plan.colour)
        return header;
    std::string app = section_app_identifier(raw_section_identifier(controller, section, kind), kind);
    const auto icon = icon_colour(app);
    auto colour = msg<Ref<Object>>(base_colour(app, icon), "colorWithAlphaComponent:"_sel,
                                   state().NotificationCenterHeaderAlpha);
    msg(msg<Ref<Object>>(header, "contentView"_sel), "setBackgroundColor:"_sel, colour);
    if (plan.text)
        msg(msg<Ref<Object>>(header, "titleLabel"_sel), "setTextColor:"_sel, automatic_text_colour(icon));
    if (plan.cycle)
        register_for_cycling(header_cycling_list(), header, controller);
    return header;
}

} // namespace

Ref<Object> vibrantInitWithFrame(Object* self, SEL sel, platform::foundation::CGRect frame) {
    auto view = call_imp<Ref<Object>>(original_vibrantInitWithFrame, self, sel, frame);
    if (state().NotificationCenterEnabled)
        msg(object_getIvarNamed(view.get(), "_backdrop"), "removeFromSuperview"_sel);
    return view;
}

void setHasClearButton(Object* self, SEL sel, bool has) {
    call_imp(original_setHasClearButton, self, sel, has);
    msg(self, "setSectionHasClearButton:"_sel, has);
}

Ref<Object> todayViewForHeader(Object* self, SEL sel, Object* table, int64_t section) {
    return colour_header(call_imp<Ref<Object>>(original_todayViewForHeader, self, sel, table, section), self,
                         section, ListKind::Today);
}

Ref<Object> notificationsViewForHeader(Object* self, SEL sel, Object* table, int64_t section) {
    return colour_header(
        call_imp<Ref<Object>>(original_notificationsViewForHeader, self, sel, table, section), self, section,
        ListKind::Notifications);
}

} // namespace zimtone::tweak::notificationcenter
