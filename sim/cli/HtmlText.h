// Text placed in the HTML pages the command line writes (the demo's contact sheet, the audit).
#pragma once

#include <string>

namespace zimtone::cli {

// The text with the five characters that mean something in HTML markup or a quoted attribute
// replaced by their entities.
std::string escape_html(const std::string& text);

} // namespace zimtone::cli
