// The readability of every text on the screen as it is drawn: each text a view draws, its colour,
// box, font, and the pixels drawn behind it, with its WCAG 2 contrast. The `text-audit` command
// answers it for the screen as it is now.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "colour/Colour.h"
#include "platform/foundation/Result.h"
#include "sim/hosts/HostProcess.h"

namespace zimtone::sim {

// The relative luminance of the colour's sRGB components, each clamped to 0..1 first (a decoded
// "ff" sits a little above 1). Alpha is not looked at.
double relative_luminance(const zimtone::colour::Colour& colour);
// (lighter + 0.05) / (darker + 0.05), from 1 (no contrast) to 21 (black on white).
double contrast_ratio(const zimtone::colour::Colour& a, const zimtone::colour::Colour& b);
// The colour painted at its alpha over an opaque background.
zimtone::colour::Colour composite_over(const zimtone::colour::Colour& top,
                                       const zimtone::colour::Colour& below);

// Below these a text fails WCAG AA: normal text, and large text.
inline constexpr double kContrastNormalText = 4.5;
inline constexpr double kContrastLargeText = 3.0;
// Large text: at least 18 points, or 14 points bold.
bool is_large_text(double point_size, int weight);

struct ContrastSummary {
    double worst_tenth{0}; // the 10th percentile of the ratios, from the lowest
    double median{0};
};

// The ratios of the text colour composited over each background pixel, summarised; none for no
// pixels. Background pixels are taken as opaque, their alpha ignored.
std::optional<ContrastSummary> summarise_contrast(const zimtone::colour::Colour& text,
                                                  const std::vector<zimtone::colour::Colour>& background);

// Options of one audit of the screen.
struct TextAuditRequest {
    std::string drawn_path;      // when set, the frame as drawn is written there as a PNG
    std::string background_path; // when set, the frame without its texts
    bool failing_only{false};    // only the texts below their threshold
    bool pictures_only_when_failing{false};
};

// {"texts":[{text, view, path, box, colour, alpha, drawn, font{name,size,weight}, large,
// background{median}, contrast{worst_tenth, median}, threshold, below_4_5, below_3, fails,
// overlaps, background_has_text}...], "scale", "pictures" (whether they were written)}. The box is the text's
// ink in screen points: the pixels that change when the texts are hidden. A failure saying why when
// a picture cannot be drawn or written.
platform::foundation::Result<nlohmann::json> audit_screen_texts(HostProcess& host,
                                                                const TextAuditRequest& request);

// Registers `text-audit`.
void set_up_text_audit(HostProcess& host);

} // namespace zimtone::sim
