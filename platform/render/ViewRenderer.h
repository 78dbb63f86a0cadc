// Draws a view tree to a PNG file with cairo and pango.
#pragma once

#include <string>

namespace platform::uikit {
class UIView;
}

namespace platform::render {

struct RenderOptions {
    double scale { 2.0 }; // pixels per point
};

// Draws the view and its subtree (the view's frame size, at the given scale). False with a
// readable reason when the file cannot be written.
bool render_view_png(const uikit::UIView* view, const std::string& path, const RenderOptions& options,
                     std::string* error);

} // namespace platform::render
