#include "platform/uikit/ViewDump.h"

#include <string>

#include "platform/foundation/NSString.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/TextColour.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/_UIBackdropView.h"

namespace platform::uikit {

using nlohmann::json;
using namespace platform::runtime;

namespace {

json string_or_null(const Object* object) {
    if (!object)
        return nullptr;
    if (auto* s = foundation::string_of(object))
        return *s;
    return class_getName(object->isa()); // a filter object of another kind shows its class
}

json dump_rect(const CGRect& r) {
    return json::array({r.origin.x, r.origin.y, r.size.width, r.size.height});
}

const CAGradientLayer* gradient_of(const CALayer* layer) {
    if (auto* gradient = dynamic_cast<const CAGradientLayer*>(layer))
        return gradient;
    for (const auto& sublayer : layer->sublayer_list())
        if (auto* gradient = dynamic_cast<const CAGradientLayer*>(sublayer.get()))
            return gradient;
    return nullptr;
}

json dump_layer(const CALayer* layer) {
    json out = {
        {"compositingFilter", string_or_null(layer->compositingFilter())},
        {"cornerRadius", layer->cornerRadius()},
        {"mask", layer->mask() != nullptr},
    };
    if (auto* gradient = gradient_of(layer)) {
        json colours = json::array();
        for (auto* colour : gradient->colour_list())
            colours.push_back(dump_colour(colour));
        out["gradient"] = std::move(colours);
    }
    return out;
}

void add_label(json& out, const UILabel& label) {
    out["text"] = string_or_null(label.text());
    out["textColor"] = dump_colour(label.textColor());
    json runs = json::array();
    if (auto* text = label.attributedText())
        for (const auto& run : text->runs())
            runs.push_back(dump_colour(foreground_colour_at(*text, run.range.location)));
    out["runColours"] = std::move(runs);
}

void add_button(json& out, const UIButton& button) {
    json colours = json::object();
    for (const auto& [state, colour] : button.title_colours())
        colours[std::to_string(state)] = dump_colour(colour.get());
    out["titleColours"] = std::move(colours);
    out["highlighted"] = button.isHighlighted();
    out["enabled"] = button.isEnabled();
}

// A view that takes keyboard text shows what it holds, asked through the runtime.
void add_text_input(json& out, const UIView& view) {
    if (!msg<bool>(&view, "respondsToSelector:"_sel, "insertText:"_sel) ||
        !msg<bool>(&view, "respondsToSelector:"_sel, "text"_sel))
        return;
    out["text"] = string_or_null(msg<Ref<Object>>(&view, "text"_sel).get());
}

void add_backdrop(json& out, const UIBackdropView& backdrop) {
    out["style"] = backdrop.style();
    out["tint"] = dump_colour(backdrop.inputSettings()->colorTint());
    out["tintAlpha"] = backdrop.inputSettings()->colorTintAlpha();
    out["blurRadius"] = backdrop.blurRadius();
    out["blurQuality"] = string_or_null(backdrop.blurQuality());
}

} // namespace

json dump_colour(const UIColor* colour) {
    if (!colour)
        return nullptr;
    const auto& c = colour->colour();
    return json::array({c.red, c.green, c.blue, c.alpha});
}

json dump_view(const UIView* view) {
    if (!view)
        return nullptr;
    json out = {
        {"class", class_getName(view->isa())},
        {"frame", dump_rect(view->frame())},
        {"background", dump_colour(view->backgroundColor())},
        {"alpha", view->alpha()},
        {"hidden", view->isHidden()},
        {"layer", dump_layer(view->layer())},
    };
    if (auto* label = dynamic_cast<const UILabel*>(view))
        add_label(out, *label);
    if (auto* button = dynamic_cast<const UIButton*>(view))
        add_button(out, *button);
    else if (!dynamic_cast<const UILabel*>(view))
        add_text_input(out, *view);
    if (auto* backdrop = dynamic_cast<const UIBackdropView*>(view))
        add_backdrop(out, *backdrop);
    json subviews = json::array();
    for (const auto& subview : view->subview_list())
        subviews.push_back(dump_view(subview.get()));
    out["subviews"] = std::move(subviews);
    return out;
}

} // namespace platform::uikit
