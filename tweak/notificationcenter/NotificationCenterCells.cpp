#include "tweak/notificationcenter/NotificationCenterCells.h"

#include "tweak/notificationcenter/NotificationCenterCycling.h"
#include "tweak/notificationcenter/SectionColours.h"

namespace zimtone::tweak::notificationcenter {

using namespace platform::runtime;

IMP original_todayCellForRow = nullptr;
IMP original_notificationsCellForRow = nullptr;

namespace {

constexpr double kOpaque = 1.0;

// Looked up by name once found, and kept for the life of the process.
bool is_bulletin_cell(const Object* cell) {
    static Class bulletin_cell = nullptr;
    if (!bulletin_cell)
        bulletin_cell = objc_getClass("SBNotificationsBulletinCell");
    return bulletin_cell && msg<bool>(cell, "isKindOfClass:"_sel, bulletin_cell);
}

void colour_text(Object* cell, const zimtone::colour::Colour& icon) {
    auto colour = msg<Ref<Object>>(automatic_text_colour(icon), "colorWithAlphaComponent:"_sel, kOpaque);
    for (SEL setter : {"setPrimaryTextColor:"_sel, "setEventDateColor:"_sel, "setRelevanceDateColor:"_sel,
                       "setSecondaryTextColor:"_sel, "setSubtitleTextColor:"_sel})
        msg(cell, setter, colour);
    // The host's vibrancy blend would shift the colour of the date labels.
    Object* no_filter = nullptr;
    for (SEL label : {"eventDateLabel"_sel, "relevanceDateLabel"_sel})
        msg(msg<Ref<Object>>(msg<Ref<Object>>(cell, label), "layer"_sel), "setCompositingFilter:"_sel,
            no_filter);
}

Ref<Object> colour_cell(Ref<Object> cell, Object* controller, Object* index_path, ListKind kind) {
    NcSettings settings = current_settings();
    if (!cell_hook_active(settings))
        return cell;
    int64_t section = msg<int64_t>(index_path, "section"_sel);
    int64_t row = msg<int64_t>(index_path, "row"_sel);
    std::string raw = raw_section_identifier(controller, section, kind);
    CellPlan plan = plan_cell(settings, kind, raw, row, is_bulletin_cell(cell.get()));
    if (plan.colour) {
        const auto icon = icon_colour(plan.app);
        msg(cell, "setBackgroundColor:"_sel,
            msg<Ref<Object>>(base_colour(plan.app, icon), "colorWithAlphaComponent:"_sel, plan.alpha));
        if (plan.text)
            colour_text(cell.get(), icon);
    }
    if (plan.cycle)
        register_for_cycling(cell_cycling_list(), cell.get(), controller);
    return cell;
}

} // namespace

Ref<Object> todayCellForRow(Object* self, SEL sel, Object* table, Object* index_path) {
    return colour_cell(call_imp<Ref<Object>>(original_todayCellForRow, self, sel, table, index_path), self,
                       index_path, ListKind::Today);
}

Ref<Object> notificationsCellForRow(Object* self, SEL sel, Object* table, Object* index_path) {
    return colour_cell(call_imp<Ref<Object>>(original_notificationsCellForRow, self, sel, table, index_path),
                       self, index_path, ListKind::Notifications);
}

} // namespace zimtone::tweak::notificationcenter
