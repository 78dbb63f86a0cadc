#include "platform/render/TextStyle.h"

#include <glib.h>

#include "platform/foundation/NSAttributedString.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"

namespace platform::render {

namespace {

std::string single_line_utf8(const std::string& bytes) {
    gchar* valid = g_utf8_make_valid(bytes.data(), static_cast<gssize>(bytes.size()));
    std::string out(valid);
    g_free(valid);
    for (char& c : out)
        if (c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f')
            c = ' ';
    return out;
}

} // namespace

StyledText styled_text(const foundation::NSAttributedString& text, const uikit::UIColor* fallback) {
    const auto fallback_colour = fallback ? fallback->colour() : zimtone::colour::Colour::opaqueBlack();
    StyledText out;
    for (const auto& run : text.runs()) {
        std::string piece = single_line_utf8(text.substring(run.range));
        if (piece.empty())
            continue;
        StyledRun styled;
        styled.begin = out.utf8.size();
        out.utf8 += piece;
        styled.end = out.utf8.size();
        auto found = run.attributes.find(foundation::NSForegroundColorAttributeName);
        const uikit::UIColor* colour =
            found == run.attributes.end() ? nullptr : uikit::colour_of(found->second.get());
        styled.colour = DrawColour::of(colour ? colour->colour() : fallback_colour);
        found = run.attributes.find(foundation::NSFontAttributeName);
        if (found != run.attributes.end())
            styled.font = dynamic_cast<const uikit::UIFont*>(found->second.get());
        out.runs.push_back(styled);
    }
    return out;
}

} // namespace platform::render
