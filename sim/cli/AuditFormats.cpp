#include "sim/cli/AuditFormats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "colour/hex_codec.h"
#include "sim/cli/HtmlText.h"

namespace zimtone::cli {

using nlohmann::json;
using zimtone::colour::TextColour;

namespace {

json components(const Colour& c) { return { c.red, c.green, c.blue, c.alpha }; }
const char* text_name(TextColour t) { return t == TextColour::White ? "white" : "black"; }

// Hex of a colour for display, clamped so a decoded "ff" does not print as "100".
std::string display_hex(const Colour& c) {
    auto clamp = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); };
    return zimtone::colour::hexValuesFromColour({ clamp(c.red), clamp(c.green), clamp(c.blue), 1 });
}

std::string ratio(const std::optional<double>& r) {
    if (!r) return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.2f:1", *r);
    return text;
}

std::string flag(const AuditRow& row) {
    if (!row.tint) return "no tint";
    if (row.below_large) return "FAIL <3";
    if (row.below_normal) return "FAIL <4.5";
    return "ok";
}

std::string pad(std::string text, size_t width) {
    // Display names may hold multi-byte characters; count code points, not bytes.
    size_t shown = static_cast<size_t>(std::count_if(text.begin(), text.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; }));
    if (shown < width) text.append(width - shown, ' ');
    return text;
}

} // namespace

json audit_json(const std::vector<AuditRow>& rows) {
    json apps = json::array();
    json flagged = json::array();
    for (const auto& row : rows) {
        apps.push_back({ { "app", row.app },
                         { "name", row.name },
                         { "icon", row.has_icon },
                         { "dominant", components(row.dominant) },
                         { "tint", row.tint ? components(*row.tint) : json(nullptr) },
                         { "tint_alpha", row.tint_alpha },
                         { "per_app_colour", row.per_app_colour },
                         { "text", text_name(row.text) },
                         { "contrast", row.contrast ? json(*row.contrast) : json(nullptr) },
                         { "other_contrast", row.other_contrast ? json(*row.other_contrast) : json(nullptr) },
                         { "below_4_5", row.below_normal },
                         { "below_3", row.below_large },
                         { "transparent_share", row.transparent_share } });
        if (row.below_normal) flagged.push_back(row.app);
    }
    return { { "apps", apps }, { "flagged", flagged } };
}

std::string audit_table(const std::vector<AuditRow>& rows) {
    size_t width = 3;
    for (const auto& row : rows) width = std::max(width, row.app.size());
    std::ostringstream out;
    out << pad("App", width) << "  Icon    Tint    Text   Contrast  Other     Transp.  Flag\n";
    size_t flagged = 0;
    for (const auto& row : rows) {
        char share[16];
        std::snprintf(share, sizeof share, "%5.1f%%", row.transparent_share * 100);
        out << pad(row.app, width) << "  " << (row.has_icon ? display_hex(row.dominant) : "none  ") << "  "
            << pad(row.tint ? display_hex(*row.tint) + (row.per_app_colour ? "*" : "") : "-", 6) << "  "
            << pad(text_name(row.text), 5) << "  " << pad(ratio(row.contrast), 8) << "  "
            << pad(ratio(row.other_contrast), 8) << "  " << pad(share, 7) << "  " << flag(row) << "\n";
        if (row.below_normal) ++flagged;
    }
    out << rows.size() << " apps, " << flagged << " below 4.5:1 (* per-app colour; contrast on the tint as if opaque)\n";
    return out.str();
}

std::string audit_html(const std::vector<AuditRow>& rows) {
    std::ostringstream out;
    out << "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Zimtone 2 audit</title>\n"
           "<style>body{font:14px system-ui,sans-serif;margin:24px}table{border-collapse:collapse}"
           "td,th{padding:4px 10px;border-bottom:1px solid #ddd;text-align:left}"
           ".swatch{width:160px;height:40px;border-radius:8px;display:flex;align-items:center;"
           "justify-content:center;font-weight:600;border:1px solid #aaa}"
           ".fail{color:#b00020;font-weight:600}</style></head><body>\n<h1>Zimtone 2 audit</h1>\n"
           "<p>Banner tint and automatic text of each app under the device's settings. Contrast is WCAG 2, "
           "of the text on the tint as if opaque.</p>\n<table>\n<tr><th>App</th><th>Swatch</th><th>Icon colour</th>"
           "<th>Contrast</th><th>Other choice</th><th>Transparent</th><th>Flag</th></tr>\n";
    for (const auto& row : rows) {
        std::string text_colour = row.text == TextColour::White ? "#ffffff" : "#000000";
        std::string tint = row.tint ? "#" + display_hex(*row.tint) : "transparent";
        char share[16];
        std::snprintf(share, sizeof share, "%.1f%%", row.transparent_share * 100);
        out << "<tr><td>" << escape_html(row.name) << "<br><small>" << escape_html(row.app) << "</small></td>"
            << "<td><div class=\"swatch\" style=\"background:" << tint << ";color:" << text_colour << "\">"
            << escape_html(row.name) << "</div></td><td>" << (row.has_icon ? "#" + display_hex(row.dominant) : "no icon")
            << "</td><td>" << ratio(row.contrast) << "</td><td>" << ratio(row.other_contrast) << "</td><td>" << share
            << "</td><td" << (row.below_normal ? " class=\"fail\"" : "") << ">" << escape_html(flag(row))
            << "</td></tr>\n";
    }
    out << "</table>\n</body></html>\n";
    return out.str();
}

} // namespace zimtone::cli
