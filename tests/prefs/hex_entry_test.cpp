#include <gtest/gtest.h>

#include "platform/foundation/NSString.h"
#include "prefs/hex_entry.h"

namespace {

using zimtone::prefs::hex_from_entry;

TEST(HexEntry, AnyFirstCharacterThenSixHexDigits) {
    struct Case {
        const char* text;
        std::optional<std::string> stored;
    } cases[] = {
        {"#FF8800", "FF8800"},
        {"xff8800", "ff8800"},
        {" ff8800", "ff8800"},
        {"#aBcDeF", "aBcDeF"},
        {"\xC3\xA9"
         "012345",
         "012345"},                 // a two-byte character is still one character
        {"ff8800", std::nullopt},   // six digits alone
        {"#ff88001", std::nullopt}, // eight characters
        {"#ff88zz", std::nullopt},
        {"#ff 880", std::nullopt},
        {"", std::nullopt},
        {"#", std::nullopt},
        {"\xF0\x9F\x98\x80"
         "12345",
         std::nullopt}, // an emoji counts two, leaving five digits
        {"#ff880\xC3\xA9", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hex_from_entry(c.text), c.stored) << c.text;
}

} // namespace
