// The values a row's control can produce, by cell type, and what a row says it accepts otherwise.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/control_values.h"

namespace {

using namespace platform::preferences;
using platform::foundation::ns;
using platform::foundation::NSArray;
using platform::foundation::NSMutableDictionary;
using platform::foundation::NSNumber;

Ref<Object> number(double v) {
    return NSNumber::numberWithDouble(v);
}
Ref<Object> integer(int64_t v) {
    return NSNumber::numberWithInteger(v);
}
Ref<Object> boolean(bool v) {
    return NSNumber::numberWithBool(v);
}

Ref<NSMutableDictionary> slider(double min, double max) {
    auto properties = NSMutableDictionary::create();
    properties->set("min", number(min));
    properties->set("max", number(max));
    return properties;
}

struct Case {
    const char* name;
    int64_t cell;
    Ref<NSMutableDictionary> properties;
    Ref<Object> value;
    std::optional<std::string> refusal; // nullopt: accepted
};

TEST(ControlValues, EachControlAcceptsOnlyWhatItProduces) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string unit = "a number from 0 to 1";
    const std::string switch_values = "true or false";
    const std::string text_values = "text of at most 4096 bytes";
    auto none = NSMutableDictionary::create();
    Case cases[] = {
        {"switch on", PSSwitchCell, none, boolean(true), std::nullopt},
        {"switch off", PSSwitchCell, none, boolean(false), std::nullopt},
        {"switch given 1", PSSwitchCell, none, integer(1), switch_values},
        {"switch given 0.0", PSSwitchCell, none, number(0.0), switch_values},
        {"switch given text", PSSwitchCell, none, ns("true"), switch_values},
        {"switch given an array", PSSwitchCell, none, NSArray::create({boolean(true)}), switch_values},
        {"switch given nothing", PSSwitchCell, none, nullptr, switch_values},

        {"slider at its minimum", PSSliderCell, slider(0, 1), number(0.0), std::nullopt},
        {"slider inside", PSSliderCell, slider(0, 1), number(0.37), std::nullopt},
        {"slider at its maximum", PSSliderCell, slider(0, 1), number(1.0), std::nullopt},
        {"slider given an integer in range", PSSliderCell, slider(0, 1), integer(1), std::nullopt},
        {"slider below its minimum", PSSliderCell, slider(0, 1), number(-5), unit},
        {"slider just above its maximum", PSSliderCell, slider(0, 1), number(1.0000001), unit},
        {"slider given a huge number", PSSliderCell, slider(0, 1), number(1e308), unit},
        {"slider given infinity", PSSliderCell, slider(0, 1), number(inf), unit},
        {"slider given minus infinity", PSSliderCell, slider(0, 1), number(-inf), unit},
        {"slider given NaN", PSSliderCell, slider(0, 1), number(nan), unit},
        {"slider given true", PSSliderCell, slider(0, 1), boolean(true), unit},
        {"slider given text", PSSliderCell, slider(0, 1), ns("0.5"), unit},
        {"slider given nothing", PSSliderCell, slider(0, 1), nullptr, unit},
        {"slider with its own range", PSSliderCell, slider(-2, 50), number(42), std::nullopt},
        {"slider outside its own range", PSSliderCell, slider(-2, 50), number(51), "a number from -2 to 50"},
        {"slider without bounds spans 0 to 1", PSSliderCell, none, number(0.5), std::nullopt},
        {"slider without bounds refuses 2", PSSliderCell, none, number(2), unit},
        {"slider whose bounds are crossed accepts nothing", PSSliderCell, slider(1, 0), number(0.5),
         "a number from 1 to 0"},

        {"text", PSEditTextCell, none, ns("hello"), std::nullopt},
        {"empty text", PSEditTextCell, none, ns(""), std::nullopt},
        {"text at the cap", PSEditTextCell, none, ns(std::string(max_text_value_bytes, 'x')), std::nullopt},
        {"text over the cap", PSEditTextCell, none, ns(std::string(max_text_value_bytes + 1, 'x')),
         text_values},
        {"text given a number", PSEditTextCell, none, number(3), text_values},
        {"text given a boolean", PSEditTextCell, none, boolean(true), text_values},

        {"button", PSButtonCell, none, boolean(true), "no value, having no control that sets one"},
        {"group", PSGroupCell, none, ns("x"), "no value, having no control that sets one"},
        {"link", PSLinkCell, none, number(0.5), "no value, having no control that sets one"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(refused_control_value(c.cell, *c.properties, c.value.get()), c.refusal);
    }
}

} // namespace
