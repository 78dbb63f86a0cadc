#include "platform/uikit/TextColour.h"

namespace platform::uikit {

UIColor* foreground_colour_at(const foundation::NSAttributedString& text, uint64_t index) {
    return dynamic_cast<UIColor*>(text.attribute_at(foundation::NSForegroundColorAttributeName, index));
}

} // namespace platform::uikit
