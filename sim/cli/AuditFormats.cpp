#include "sim/cli/AuditFormats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>

#include <fstream>
#include <map>

#include <unistd.h>

#include "colour/hex_codec.h"
#include "platform/foundation/Base64.h"
#include "platform/uikit/png_codec.h"
#include "sim/cli/HtmlText.h"

namespace zimtone::cli {

using nlohmann::json;
using zimtone::colour::TextColour;

namespace {

json components(const Colour& c) {
    return {c.red, c.green, c.blue, c.alpha};
}
const char* text_name(TextColour t) {
    return t == TextColour::White ? "white" : "black";
}

// Hex of a colour for display, clamped so a decoded "ff" does not print as "100".
std::string display_hex(const Colour& c) {
    auto clamp = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); };
    return zimtone::colour::hexValuesFromColour({clamp(c.red), clamp(c.green), clamp(c.blue), 1});
}

std::string ratio(const std::optional<double>& r) {
    if (!r)
        return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.2f:1", *r);
    return text;
}

std::string flag(const AuditRow& row) {
    if (!row.tint)
        return "no tint";
    if (row.below_large)
        return "FAIL <3";
    if (row.below_normal)
        return "FAIL <4.5";
    return "ok";
}

std::string pad(std::string text, size_t width) {
    // Display names may hold multi-byte characters; count code points, not bytes.
    size_t shown = static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; }));
    if (shown < width)
        text.append(width - shown, ' ');
    return text;
}

const ColourProposal* proposal_for(const DrawnAudit* texts, const std::string& app) {
    if (!texts)
        return nullptr;
    for (const auto& p : texts->proposals)
        if (p.app == app)
            return &p;
    return nullptr;
}

size_t failing_texts(const DrawnAudit* texts, const std::string& app) {
    if (!texts)
        return 0;
    return static_cast<size_t>(
        std::count_if(texts->elements.begin(), texts->elements.end(),
                      [&](const DrawnElement& e) { return e.app == app && e.fails(); }));
}

std::string hex_of_json(const json& c) {
    return display_hex({c[0].get<double>(), c[1].get<double>(), c[2].get<double>(), 1});
}

std::string number(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

json element_json(const DrawnElement& e, bool with_pictures) {
    const json& m = e.measure;
    json entry = {{"app", e.app},
                  {"surface", e.surface},
                  {"element", e.element},
                  {"text", m["text"]},
                  {"view", m["view"]},
                  {"box", m["box"]},
                  {"colour", m["colour"]},
                  {"alpha", m["alpha"]},
                  {"drawn", m["drawn"]},
                  {"font", m["font"]},
                  {"large", m["large"]},
                  {"background", m["background"]},
                  {"contrast", m["contrast"]},
                  {"threshold", m["threshold"]},
                  {"below_4_5", m["below_4_5"]},
                  {"below_3", m["below_3"]},
                  {"fails", m["fails"]},
                  {"cause", e.cause.empty() ? json(nullptr) : json(e.cause)}};
    if (with_pictures) {
        entry["picture"] = e.picture;
        entry["bare_picture"] = e.bare_picture;
    }
    return entry;
}

// The text's box and a margin around it, cut from its frame, as a data URL; empty when the
// frame cannot be read.
std::string crop_url(const DrawnElement& e,
                     std::map<std::string, std::optional<zimtone::colour::Image>>& frames) {
    constexpr double kMargin = 10;
    if (e.picture.empty())
        return "";
    auto& frame = frames[e.picture];
    if (!frame)
        frame = platform::uikit::decodePng(e.picture, 2.0);
    if (!frame)
        return "";
    const json& box = e.measure["box"];
    const double scale = 2.0;
    int x0 = std::max(0, static_cast<int>((box[0].get<double>() - kMargin) * scale));
    int y0 = std::max(0, static_cast<int>((box[1].get<double>() - kMargin) * scale));
    int x1 = std::min(frame->pixel_width,
                      static_cast<int>((box[0].get<double>() + box[2].get<double>() + kMargin) * scale));
    int y1 = std::min(frame->pixel_height,
                      static_cast<int>((box[1].get<double>() + box[3].get<double>() + kMargin) * scale));
    if (x1 <= x0 || y1 <= y0)
        return "";
    std::vector<uint8_t> rgba;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* row = frame->pixels.data() + (static_cast<size_t>(y) * frame->pixel_width + x0) * 4;
        rgba.insert(rgba.end(), row, row + (x1 - x0) * 4);
    }
    std::string file = e.picture + ".crop-" + std::to_string(getpid()) + ".png";
    if (!platform::uikit::encodePngRGBA(file, x1 - x0, y1 - y0, rgba.data()))
        return "";
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::remove(file.c_str());
    return "data:image/png;base64," + platform::foundation::base64_encoded(bytes);
}

} // namespace

json audit_json(const std::vector<AuditRow>& rows, const DrawnAudit* texts, bool with_pictures) {
    json apps = json::array();
    json flagged = json::array();
    for (const auto& row : rows) {
        apps.push_back({{"app", row.app},
                        {"name", row.name},
                        {"icon", row.has_icon},
                        {"dominant", components(row.dominant)},
                        {"tint", row.tint ? components(*row.tint) : json(nullptr)},
                        {"tint_alpha", row.tint_alpha},
                        {"per_app_colour", row.per_app_colour},
                        {"text", text_name(row.text)},
                        {"contrast", row.contrast ? json(*row.contrast) : json(nullptr)},
                        {"other_contrast", row.other_contrast ? json(*row.other_contrast) : json(nullptr)},
                        {"below_4_5", row.below_normal},
                        {"below_3", row.below_large},
                        {"transparent_share", row.transparent_share}});
        if (row.below_normal)
            flagged.push_back(row.app);
        if (texts) {
            auto* proposal = proposal_for(texts, row.app);
            apps.back()["texts_failing"] = failing_texts(texts, row.app);
            apps.back()["proposal"] =
                proposal ? json{{"colour", proposal->colour ? json(proposal->hex) : json(nullptr)},
                                {"how", proposal->how}}
                         : json(nullptr);
        }
    }
    json answer = {{"apps", apps}, {"flagged", flagged}};
    if (texts) {
        json elements = json::array();
        std::set<std::string> failing;
        for (const auto& e : texts->elements) {
            elements.push_back(element_json(e, with_pictures));
            if (e.fails())
                failing.insert(e.app);
        }
        answer["elements"] = std::move(elements);
        answer["failing_apps"] = failing;
        answer["tweak_loaded"] = texts->tweak_loaded;
    }
    return answer;
}

std::string audit_table(const std::vector<AuditRow>& rows, const DrawnAudit* texts) {
    size_t width = 3;
    for (const auto& row : rows)
        width = std::max(width, row.app.size());
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
        if (row.below_normal)
            ++flagged;
    }
    out << rows.size() << " apps, " << flagged
        << " below 4.5:1 (* per-app colour; contrast on the tint as if opaque)\n";
    if (!texts)
        return out.str();

    size_t failing = 0;
    for (const auto& e : texts->elements)
        failing += e.fails() ? 1 : 0;
    if (!texts->tweak_loaded)
        out << "\nThe tweak is not installed on this device (zimtone device init installs it): the surfaces "
               "are "
               "drawn without its colours.";
    out << "\nTexts as drawn: " << texts->elements.size() << " texts, " << failing
        << " below their threshold (worst 10% of the box; 4.5:1, large text 3:1)\n";
    if (failing) {
        out << pad("App", width) << "  " << pad("Surface", 19) << "  " << pad("Element", 14) << "  "
            << pad("Text", 18) << "  Colour  Behind  Worst   Median  Need  Cause\n";
        // Texts alike (the keys of a keyboard) share one line: "key x31".
        const auto& elements = texts->elements;
        for (size_t i = 0; i < elements.size();) {
            const DrawnElement& e = elements[i];
            size_t same = 1;
            while (i + same < elements.size()) {
                const DrawnElement& next = elements[i + same];
                if (next.app != e.app || next.surface != e.surface || next.element != e.element ||
                    next.fails() != e.fails() || next.measure["drawn"] != e.measure["drawn"] ||
                    std::abs(next.measure["contrast"]["worst_tenth"].get<double>() -
                             e.measure["contrast"]["worst_tenth"].get<double>()) > 0.05)
                    break;
                ++same;
            }
            i += same;
            if (!e.fails())
                continue;
            const json& m = e.measure;
            std::string text = m.value("text", "");
            if (text.size() > 16)
                text = text.substr(0, 15) + "~";
            std::string element = e.element + (same > 1 ? " x" + std::to_string(same) : "");
            out << pad(e.app, width) << "  " << pad(e.surface, 19) << "  " << pad(element, 14) << "  "
                << pad("\"" + text + "\"", 18) << "  " << hex_of_json(m["drawn"]) << "  "
                << hex_of_json(m["background"]["median"]) << "  "
                << pad(number(m["contrast"]["worst_tenth"]), 6) << "  "
                << pad(number(m["contrast"]["median"]), 6) << "  "
                << pad(number(m["threshold"].get<double>()).substr(0, 3), 4) << "  " << e.cause << "\n";
        }
    }
    if (!texts->proposals.empty()) {
        out << "\nProposed per-app colours (same hue, every text at least 4.5:1, checked by drawing):\n";
        for (const auto& p : texts->proposals)
            out << pad(p.app, width) << "  " << (p.colour ? "#" + p.hex + "  " : "none     ") << p.how
                << "\n";
    }
    return out.str();
}

std::string audit_html(const std::vector<AuditRow>& rows, const DrawnAudit* texts) {
    std::ostringstream out;
    out << "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Zimtone 2 audit</title>\n"
           "<style>body{font:14px system-ui,sans-serif;margin:24px}table{border-collapse:collapse}"
           "td,th{padding:4px 10px;border-bottom:1px solid #ddd;text-align:left}"
           ".swatch{width:160px;height:40px;border-radius:8px;display:flex;align-items:center;"
           "justify-content:center;font-weight:600;border:1px solid #aaa}"
           ".fail{color:#b00020;font-weight:600}.crop{max-width:360px;border:1px solid #999;display:block}"
           ".chip{display:inline-block;width:12px;height:12px;border:1px solid "
           "#888;vertical-align:middle;margin:0 4px}"
           "section.app{margin-top:24px}h3 "
           "small{color:#666;font-weight:400}</style></head><body>\n<h1>Zimtone 2 audit</h1>\n"
           "<p>Banner tint and automatic text of each app under the device's settings. Contrast is WCAG 2, "
           "of the text on the tint as if opaque.</p>\n<table>\n<tr><th>App</th><th>Swatch</th><th>Icon "
           "colour</th>"
           "<th>Contrast</th><th>Other choice</th><th>Transparent</th><th>Flag</th></tr>\n";
    for (const auto& row : rows) {
        std::string text_colour = row.text == TextColour::White ? "#ffffff" : "#000000";
        std::string tint = row.tint ? "#" + display_hex(*row.tint) : "transparent";
        char share[16];
        std::snprintf(share, sizeof share, "%.1f%%", row.transparent_share * 100);
        out << "<tr><td>" << escape_html(row.name) << "<br><small>" << escape_html(row.app) << "</small></td>"
            << "<td><div class=\"swatch\" style=\"background:" << tint << ";color:" << text_colour << "\">"
            << escape_html(row.name) << "</div></td><td>"
            << (row.has_icon ? "#" + display_hex(row.dominant) : "no icon") << "</td><td>"
            << ratio(row.contrast) << "</td><td>" << ratio(row.other_contrast) << "</td><td>" << share
            << "</td><td" << (row.below_normal ? " class=\"fail\"" : "") << ">" << escape_html(flag(row))
            << "</td></tr>\n";
    }
    out << "</table>\n";
    if (texts) {
        size_t failing = 0;
        for (const auto& e : texts->elements)
            failing += e.fails() ? 1 : 0;
        out << "<h2>Texts as drawn</h2>\n<p>" << texts->elements.size()
            << " texts measured on the banner, Notification "
               "Center, lock screen, quick reply and keyboard; "
            << failing
            << " below their threshold. Contrast is WCAG 2 "
               "of the text colour over each pixel drawn behind its box with every text hidden: the worst "
               "10% and "
               "the median.</p>\n";
        std::map<std::string, std::optional<zimtone::colour::Image>> frames;
        std::vector<std::string> order;
        for (const auto& e : texts->elements)
            if (e.fails() && std::find(order.begin(), order.end(), e.app) == order.end())
                order.push_back(e.app);
        for (const auto& app : order) {
            std::string name = app;
            for (const auto& row : rows)
                if (row.app == app)
                    name = row.name;
            out << "<section class=\"app\"><h3>" << escape_html(name) << " <small>" << escape_html(app)
                << "</small></h3>\n";
            if (auto* p = proposal_for(texts, app))
                out << "<p class=\"proposal\">"
                    << (p->colour ? "Proposed colour <span class=\"chip\" style=\"background:#" + p->hex +
                                        "\"></span> #" + p->hex + ": "
                                  : "No proposal: ")
                    << escape_html(p->how) << "</p>\n";
            out << "<table><tr><th>Picture</th><th>Surface</th><th>Element</th><th>Text</th><th>Colours</"
                   "th><th>Worst 10%</th><th>Median</th><th>Needs</th><th>Cause</th></tr>\n";
            for (const auto& e : texts->elements) {
                if (e.app != app || !e.fails())
                    continue;
                const json& m = e.measure;
                std::string url = crop_url(e, frames);
                out << "<tr class=\"element\"><td>"
                    << (url.empty() ? "" : "<img class=\"crop\" alt=\"\" src=\"" + url + "\">") << "</td><td>"
                    << escape_html(e.surface) << "</td><td>" << escape_html(e.element) << "</td><td>"
                    << escape_html(m.value("text", ""))
                    << "</td><td><span class=\"chip\" style=\"background:#" << hex_of_json(m["drawn"])
                    << "\"></span>#" << hex_of_json(m["drawn"])
                    << " on <span class=\"chip\" style=\"background:#"
                    << hex_of_json(m["background"]["median"]) << "\"></span>#"
                    << hex_of_json(m["background"]["median"]) << "</td><td class=\"fail\">"
                    << number(m["contrast"]["worst_tenth"]) << ":1</td><td>"
                    << number(m["contrast"]["median"]) << ":1</td><td>" << number(m["threshold"])
                    << ":1</td><td>" << escape_html(e.cause) << "</td></tr>\n";
            }
            out << "</table></section>\n";
        }
    }
    out << "</body></html>\n";
    return out.str();
}

} // namespace zimtone::cli
