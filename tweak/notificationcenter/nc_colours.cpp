#include "tweak/notificationcenter/nc_colours.h"

#include "colour/adjustments.h"
#include "colour/random_channel.h"

namespace zimtone::tweak::notificationcenter {

namespace {
// An identifier of an app's three parts plus one more maps to that app.
constexpr size_t kAppIdentifierParts = 3;

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += '.';
        out += parts[i];
    }
    return out;
}
} // namespace

std::vector<std::string> identifier_parts(const std::string& identifier) {
    std::vector<std::string> parts(1);
    for (char c : identifier) {
        if (c == '.')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::string section_app_identifier(const std::string& raw, ListKind kind) {
    auto parts = identifier_parts(raw);
    size_t n = parts.size();
    bool trim = kind == ListKind::Today ? (n == 4 || n == 5) : n == 4;
    if (trim)
        parts.pop_back();
    return joined(parts);
}

HeaderPlan plan_header(const NcSettings& s, bool section_has_clear_button) {
    if (!s.enabled || (!s.effect_today && !section_has_clear_button))
        return {};
    return {true, s.auto_text, s.unicorn};
}

bool cell_hook_active(const NcSettings& s) {
    return s.enabled && !s.only_headers;
}

CellPlan plan_cell(const NcSettings& s, ListKind kind, const std::string& raw, int64_t row,
                   bool bulletin_cell) {
    CellPlan plan;
    if (!cell_hook_active(s))
        return plan;
    plan.cycle = s.unicorn;
    if (s.effect_today)
        plan.app = section_app_identifier(raw, kind);
    else if (identifier_parts(raw).size() == kAppIdentifierParts)
        plan.app = raw;
    else
        return plan; // registered for cycling all the same
    plan.colour = true;
    plan.alpha = s.layered ? row_opacity(row) : s.cell_alpha;
    plan.text = s.auto_text && bulletin_cell;
    return plan;
}

double row_opacity(int64_t row) {
    return 1.0 - (static_cast<double>(row) / 10.0 + 0.2);
}

} // namespace zimtone::tweak::notificationcenter
