// Notification Center's colour decisions, free of any host: which app a section belongs to,
// which headers and cells are coloured, the row opacity and the cycling colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour/Colour.h"

namespace zimtone::tweak::notificationcenter {

using zimtone::colour::Colour;

// The two table controllers differ in how much of a section's identifier names its app.
enum class ListKind {
    Today,         // SBNCTableViewController: drops the last part of 4 or 5 parts
    Notifications, // SBBulletinViewController: drops the last part of exactly 4 parts
};

std::vector<std::string> identifier_parts(const std::string& identifier);
// The identifier with the trim rule of the list applied.
std::string section_app_identifier(const std::string& raw, ListKind kind);

// The settings the two hooks read, copied from the settings state at each call.
struct NcSettings {
    bool enabled{true};
    bool effect_today{true};
    bool only_headers{false};
    bool layered{true};
    double cell_alpha{1.0};
    bool auto_text{true};
    bool unicorn{false};
};

struct HeaderPlan {
    bool colour{false}; // background and, with auto_text, title colour
    bool text{false};
    bool cycle{false};
};
HeaderPlan plan_header(const NcSettings& s, bool section_has_clear_button);

// Whether the cell hook does anything at all; when it does not, no identifier is drawn.
bool cell_hook_active(const NcSettings& s);

struct CellPlan {
    bool colour{false};
    std::string app; // the section app identifier, when coloured
    double alpha{0};
    bool text{false};
    bool cycle{false};
};
CellPlan plan_cell(const NcSettings& s, ListKind kind, const std::string& raw, int64_t row,
                   bool bulletin_cell);

// The layered opacity of a row: 0.8 for row 0, down by 0.1 a row, not clamped below 0.
double row_opacity(int64_t row);

} // namespace zimtone::tweak::notificationcenter
