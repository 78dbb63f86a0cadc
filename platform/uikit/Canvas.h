// What a view draws of its own content (text, images, fills), in its own bounds' coordinates.
// The renderer supplies the canvas; views only describe what they show, so UIKit never
// depends on a drawing library. Background, alpha, corners, masks, layers, backdrops and
// subviews are drawn by the renderer itself, from the view tree.
#pragma once

#include <cstdint>

#include "platform/foundation/Geometry.h"

namespace platform::foundation {
class NSAttributedString;
}

namespace platform::uikit {

class UIColor;
class UIFont;
class UIImage;

class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual void fill_rect(foundation::CGRect rect, const UIColor* colour) = 0;
    // One line of text in the font, clipped to the rectangle and vertically centred in it, each
    // character in its foreground-colour attribute, else the fallback colour. Alignment takes the
    // NSTextAlignment values.
    virtual void draw_text(foundation::CGRect rect, const foundation::NSAttributedString* text,
                           const UIFont* font, const UIColor* fallback_colour, int64_t alignment) = 0;
    // The image scaled to fill the rectangle.
    virtual void draw_image(foundation::CGRect rect, const UIImage* image) = 0;
};

} // namespace platform::uikit
