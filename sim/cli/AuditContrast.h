// WCAG 2 contrast between two colours, for the audit's readability flags. The hosts measure the
// texts they draw with the same functions.
#pragma once

#include "sim/hosts/TextAudit.h"

namespace zimtone::cli {

using zimtone::sim::contrast_ratio;
using zimtone::sim::kContrastLargeText;
using zimtone::sim::kContrastNormalText;
using zimtone::sim::relative_luminance;

} // namespace zimtone::cli
