// The system's small drawn glyphs (chevrons, circled buttons, camera grabber) made of filled
// rectangles, since a view's canvas only fills rectangles, draws text and draws images. Strokes
// are rows of overlapping squares, so they take opaque colours: a translucent one would build up
// where the squares overlap.
#pragma once

#include "platform/uikit/Canvas.h"
#include "platform/uikit/UIColor.h"

namespace platform::springboard {

// A straight stroke of the given thickness from one point to another, with square ends.
void stroke_line(uikit::Canvas& canvas, foundation::CGPoint from, foundation::CGPoint to, double thickness,
                 const uikit::UIColor* colour);

// A ring centred in the rectangle, its outer edge touching the shorter side.
void stroke_circle(uikit::Canvas& canvas, foundation::CGRect rect, double thickness,
                   const uikit::UIColor* colour);

// An open ">" filling the rectangle: two strokes meeting at the middle of its right edge.
void draw_chevron(uikit::Canvas& canvas, foundation::CGRect rect, double thickness,
                  const uikit::UIColor* colour);

// The circled x of a clear button: a ring with an x inside it.
void draw_circled_x(uikit::Canvas& canvas, foundation::CGRect rect, double thickness,
                    const uikit::UIColor* colour);

} // namespace platform::springboard
