#include "sim/cli/AuditContrast.h"

#include <algorithm>
#include <cmath>

namespace zimtone::cli {

namespace {
double linear(double channel) {
    double c = std::isnan(channel) ? 0.0 : std::clamp(channel, 0.0, 1.0);
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
} // namespace

double relative_luminance(const zimtone::colour::Colour& colour) {
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
}

double contrast_ratio(const zimtone::colour::Colour& a, const zimtone::colour::Colour& b) {
    double la = relative_luminance(a);
    double lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace zimtone::cli
