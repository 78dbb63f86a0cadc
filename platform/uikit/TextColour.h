// The colour a run of attributed text is drawn in. It lives with UIKit, which owns the colour
// class, so that the attributed string itself stays a Foundation type.
#pragma once

#include <cstdint>

#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/UIColor.h"

namespace platform::uikit {

// The foreground colour at a UTF-16 index, nil when the text there carries none.
UIColor* foreground_colour_at(const foundation::NSAttributedString& text, uint64_t index);

} // namespace platform::uikit
