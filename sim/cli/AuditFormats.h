// The audit's three ways out: a terminal table, JSON, and an HTML page with a swatch per app.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/cli/Audit.h"
#include "sim/cli/AuditDrawn.h"

namespace zimtone::cli {

// {"apps":[{"app","name","icon","dominant","tint","tint_alpha","per_app_colour","text",
// "contrast","other_contrast","below_4_5","below_3","transparent_share"}...],"flagged":[app...]}.
// Colours are [r,g,b,a]; a missing tint and its contrasts are null.
// With the texts as drawn, each app also gets "texts_failing" and "proposal" ({"colour": hex or
// null, "how"}), and "elements" lists every text: {app, surface, element, text, view, box, colour,
// drawn, alpha, font, large, background, contrast{worst_tenth, median}, threshold, below_4_5,
// below_3, fails, cause}, with "picture" and "bare_picture" when the pictures are kept.
nlohmann::json audit_json(const std::vector<AuditRow>& rows, const DrawnAudit* texts = nullptr,
                          bool with_pictures = false);
std::string audit_table(const std::vector<AuditRow>& rows, const DrawnAudit* texts = nullptr);
// Each failing text gets a crop of its frame beside its numbers, grouped by app.
std::string audit_html(const std::vector<AuditRow>& rows, const DrawnAudit* texts = nullptr);

} // namespace zimtone::cli
