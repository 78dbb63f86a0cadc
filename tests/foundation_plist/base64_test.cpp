// Base64 of pictures carried in JSON and HTML: the standard's vectors, every padding length, and
// bytes above 0x7f, which a signed char would turn into the wrong digits.
#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/Base64.h"

namespace {

using platform::foundation::base64_encoded;

TEST(Base64, EncodesAsTheStandardsVectorsWithPadding) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\x89PNG\r\n\x1a\n", 8), "iVBORw0KGgo="},
        {std::string("\xff\xfe\xfd", 3), "//79"},
        {std::string("\0\0", 2), "AAA="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base64_encoded(c.bytes), c.text) << c.text;
}

} // namespace
