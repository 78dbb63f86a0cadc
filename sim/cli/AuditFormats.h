// The audit's three ways out: a terminal table, JSON, and an HTML page with a swatch per app.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/cli/Audit.h"

namespace zimtone::cli {

// {"apps":[{"app","name","icon","dominant","tint","tint_alpha","per_app_colour","text",
// "contrast","other_contrast","below_4_5","below_3","transparent_share"}...],"flagged":[app...]}.
// Colours are [r,g,b,a]; a missing tint and its contrasts are null.
nlohmann::json audit_json(const std::vector<AuditRow>& rows);
std::string audit_table(const std::vector<AuditRow>& rows);
std::string audit_html(const std::vector<AuditRow>& rows);

} // namespace zimtone::cli
