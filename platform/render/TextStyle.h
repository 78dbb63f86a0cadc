// Turns an attributed string into what the text layout takes: clean UTF-8 and styled byte ranges.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/render/DrawColour.h"

namespace platform::foundation {
class NSAttributedString;
}
namespace platform::uikit {
class UIColor;
class UIFont;
} // namespace platform::uikit

namespace platform::render {

// A stretch of the laid-out text with its colour and, when the string names one, its font.
struct StyledRun {
    size_t begin{0}; // byte offsets into StyledText::utf8
    size_t end{0};
    DrawColour colour;
    const uikit::UIFont* font{nullptr};
};

struct StyledText {
    std::string utf8;
    std::vector<StyledRun> runs;
};

// One run per attribute run of the string, coloured by its foreground-colour attribute or else
// the fallback (black when that is nil too). Invalid UTF-8 becomes U+FFFD and line breaks and
// tabs become spaces, since a label shows a single line.
StyledText styled_text(const foundation::NSAttributedString& text, const uikit::UIColor* fallback);

} // namespace platform::render
