// A JSON picture of a view tree: what tests and the web page read to see what a hook did.
#pragma once

#include <nlohmann/json.hpp>

#include "platform/uikit/UIView.h"

namespace platform::uikit {

// {"class", "frame": [x, y, w, h], "background": [r, g, b, a] or null, "alpha", "hidden",
//  "layer": {"compositingFilter", "cornerRadius", "mask", and "gradient" when the layer or one of
//  its sublayers is a gradient}, then per kind: labels "text", "textColor", "runColours";
//  buttons "titleColours" by state; backdrops "style", "tint", "tintAlpha", "blurRadius",
//  "blurQuality"; and "subviews" back to front. A nil view dumps as null.
nlohmann::json dump_view(const UIView* view);

// A colour as [r, g, b, a], null for nil.
nlohmann::json dump_colour(const UIColor* colour);

} // namespace platform::uikit
