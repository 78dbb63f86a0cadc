// The values each kind of row control produces.
#include "platform/preferences/control_values.h"

#include <cmath>
#include <cstdio>

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/preferences/PSSpecifier.h"

namespace platform::preferences {

using foundation::NSNumber;

namespace {

const NSNumber* number_of(const runtime::Object* value) {
    return dynamic_cast<const NSNumber*>(value);
}

bool is_boolean(const runtime::Object* value) {
    auto* number = number_of(value);
    return number && number->kind() == NSNumber::Kind::Bool;
}

// A slider without its own bounds spans 0 to 1, as a new slider does.
double bound(const foundation::NSDictionary& properties, const char* name, double fallback) {
    auto* number = number_of(properties.get(name).get());
    return number && !is_boolean(number) ? number->doubleValue() : fallback;
}

std::string number_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::optional<std::string> refused_slider_value(const foundation::NSDictionary& properties,
                                                const runtime::Object* value) {
    const double min = bound(properties, "min", 0.0), max = bound(properties, "max", 1.0);
    auto* number = number_of(value);
    if (number && !is_boolean(number)) {
        const double v = number->doubleValue();
        if (std::isfinite(v) && v >= min && v <= max)
            return std::nullopt;
    }
    return "a number from " + number_text(min) + " to " + number_text(max);
}

} // namespace

std::optional<std::string> refused_control_value(int64_t cell_type,
                                                 const foundation::NSDictionary& properties,
                                                 const runtime::Object* value) {
    switch (cell_type) {
    case PSSwitchCell:
        if (is_boolean(value))
            return std::nullopt;
        return "true or false";
    case PSSliderCell:
        return refused_slider_value(properties, value);
    case PSEditTextCell:
        if (auto* text = foundation::string_of(value); text && text->size() <= max_text_value_bytes)
            return std::nullopt;
        return "text of at most " + std::to_string(max_text_value_bytes) + " bytes";
    default:
        return "no value, having no control that sets one";
    }
}

} // namespace platform::preferences
