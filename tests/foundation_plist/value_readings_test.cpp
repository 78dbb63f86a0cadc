// boolValue and floatValue of every kind of value a settings file can hold.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

using namespace platform::foundation;
using namespace platform::runtime;

namespace {

struct Reading {
    const char* name;
    Ref<Object> value;
    bool as_bool;
    float as_float;
};

void expect_readings(const std::vector<Reading>& readings) {
    for (const auto& r : readings) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(msg<bool>(r.value, "boolValue"_sel), r.as_bool);
        EXPECT_EQ(msg<float>(r.value, "floatValue"_sel), r.as_float);
    }
}

} // namespace

// Settings are read with boolValue and floatValue whatever type the file stored.
TEST(ValueReadings, NumbersReadAsTheirValue) {
    expect_readings({
        {"bool YES", NSNumber::numberWithBool(true), true, 1.0f},
        {"bool NO", NSNumber::numberWithBool(false), false, 0.0f},
        {"integer 3", NSNumber::numberWithInteger(3), true, 3.0f},
        {"integer 0", NSNumber::numberWithInteger(0), false, 0.0f},
        {"integer -2", NSNumber::numberWithInteger(-2), true, -2.0f},
        {"real 2.5", NSNumber::numberWithDouble(2.5), true, 2.5f},
        {"real 0", NSNumber::numberWithDouble(0.0), false, 0.0f},
    });
    // Single precision is what the settings keep: 0.3 becomes 0.30000001192092896.
    EXPECT_EQ(static_cast<double>(msg<float>(NSNumber::numberWithDouble(0.3), "floatValue"_sel)),
              0.30000001192092896);
}

TEST(ValueReadings, StringsFollowThePlatformRules) {
    expect_readings({
        {"YES", ns("YES"), true, 0.0f},
        {"yes", ns("yes"), true, 0.0f},
        {"true", ns("true"), true, 0.0f},
        {"1", ns("1"), true, 1.0f},
        {"NO", ns("NO"), false, 0.0f},
        {"0", ns("0"), false, 0.0f},
        {"empty", ns(""), false, 0.0f},
        {"blanks and zeros before 1", ns("  0001"), true, 1.0f},
        {"negative", ns("-5"), true, -5.0f},
        {"letters", ns("abc"), false, 0.0f},
        {"0.5", ns("0.5"), false, 0.5f},
        {"number then text", ns(" 2.5e1x"), true, 25.0f},
        {"plus sign", ns("+.75"), false, 0.75f},
    });
}

TEST(ValueReadings, StringUnderflowReadsAsZeroAndOverflowAsInfinity) {
    EXPECT_EQ(msg<float>(ns("1e-400"), "floatValue"_sel), 0.0f);
    EXPECT_EQ(msg<float>(ns("-1e-400"), "floatValue"_sel), 0.0f);
    EXPECT_EQ(msg<float>(ns("1e400"), "floatValue"_sel), HUGE_VALF);
    EXPECT_EQ(msg<float>(ns("-1e400"), "floatValue"_sel), -HUGE_VALF);
}

// Data and dates answer neither message, so a setting stored as one reads as NO and 0.
TEST(ValueReadings, DataAndDatesReadAsNoAndZero) {
    expect_readings({
        {"data", NSData::dataWithBytes("1"), false, 0.0f},
        {"date", NSData::dateWithSeconds(1000), false, 0.0f},
    });
    EXPECT_FALSE(msg<bool>(NSData::dataWithBytes("1"), "respondsToSelector:"_sel, "boolValue"_sel));
}

// The same readings hold for values that come out of a file.
TEST(ValueReadings, ParsedValuesReadThroughMessages) {
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array>
<true/><false/><integer>3</integer><real>1.5</real><string>0.5</string><string>YES</string><data>MQ==</data>
</array></plist>)";
    auto parsed = parse_property_list(xml.data(), xml.size());
    auto* array = dynamic_cast<NSArray*>(parsed.get());
    ASSERT_NE(array, nullptr);
    const std::pair<bool, float> expected[] = {{true, 1.0f},  {false, 0.0f}, {true, 3.0f}, {true, 1.5f},
                                               {false, 0.5f}, {true, 0.0f},  {false, 0.0f}};
    ASSERT_EQ(array->count(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(msg<bool>(array->objectAtIndex(i), "boolValue"_sel), expected[i].first);
        EXPECT_EQ(msg<float>(array->objectAtIndex(i), "floatValue"_sel), expected[i].second);
    }
}
