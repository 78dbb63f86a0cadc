#include "platform/render/ViewRenderer.h"

namespace platform::render {

// Replaced by the cairo renderer.
bool render_view_png(const uikit::UIView*, const std::string&, const RenderOptions&, std::string* error) {
    if (error) *error = "this build has no renderer";
    return false;
}

} // namespace platform::render
