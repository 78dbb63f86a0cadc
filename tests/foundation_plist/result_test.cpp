#include <gtest/gtest.h>
#include <sys/resource.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Result.h"

namespace {

using platform::foundation::Failure;
using platform::foundation::Result;

Result<int> parse_digit(char c) {
    if (c < '0' || c > '9')
        return Failure{std::string("not a digit: ") + c};
    return c - '0';
}

// A string result must keep a string value apart from a string message.
Result<std::string> echo(const std::string& text, bool fails) {
    if (fails)
        return Result<std::string>::failure(text);
    return text;
}

Result<void> check_even(int n) {
    if (n % 2 != 0)
        return Failure{std::to_string(n) + " is odd"};
    return {};
}

TEST(Result, ValuesAndFailuresKeepWhatTheyWereGiven) {
    struct Row {
        char input;
        bool ok;
        int value;
        std::string error;
    };
    const std::vector<Row> rows = {{'0', true, 0, ""},
                                   {'7', true, 7, ""},
                                   {'x', false, -1, "not a digit: x"},
                                   {'/', false, -1, "not a digit: /"}};
    for (const Row& row : rows) {
        Result<int> result = parse_digit(row.input);
        EXPECT_EQ(result.ok(), row.ok) << row.input;
        EXPECT_EQ(static_cast<bool>(result), row.ok) << row.input;
        EXPECT_EQ(result.error(), row.error) << row.input;
        EXPECT_EQ(result.value_or(-1), row.value) << row.input;
        if (row.ok) {
            EXPECT_EQ(result.value(), row.value);
            EXPECT_EQ(*result, row.value);
        }
    }
}

TEST(Result, AStringValueIsNotTakenForAMessage) {
    struct Row {
        std::string text;
        bool fails;
    };
    for (const Row& row : std::vector<Row>{{"hello", false}, {"hello", true}, {"", false}, {"", true}}) {
        Result<std::string> result = echo(row.text, row.fails);
        EXPECT_EQ(result.ok(), !row.fails) << row.text;
        if (row.fails) {
            EXPECT_EQ(result.error(), row.text);
        } else {
            EXPECT_EQ(*result, row.text);
            EXPECT_EQ(result->size(), row.text.size());
            EXPECT_EQ(result.error(), "");
        }
    }
}

TEST(Result, MoveOnlyValuesAndOptionalValuesPassThrough) {
    Result<std::unique_ptr<int>> owned = std::make_unique<int>(5);
    ASSERT_TRUE(owned);
    std::unique_ptr<int> taken = std::move(owned).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 5);

    // An empty optional is a value (nothing there), not a failure.
    Result<std::optional<int>> nothing = std::optional<int>{};
    ASSERT_TRUE(nothing.ok());
    EXPECT_FALSE(nothing->has_value());
    Result<std::optional<int>> failed = Failure{"broken"};
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(), "broken");
}

TEST(Result, VoidResultsSucceedByDefaultAndCarryTheReasonOtherwise) {
    struct Row {
        int n;
        bool ok;
        std::string error;
    };
    for (const Row& row : std::vector<Row>{{2, true, ""}, {0, true, ""}, {3, false, "3 is odd"}}) {
        Result<void> result = check_even(row.n);
        EXPECT_EQ(result.ok(), row.ok) << row.n;
        EXPECT_EQ(static_cast<bool>(result), row.ok) << row.n;
        EXPECT_EQ(result.error(), row.error) << row.n;
    }
    EXPECT_EQ(Result<void>::failure("no").error(), "no");
}

// Reading a value that is not there stops at once with the reason, instead of using garbage.
TEST(ResultDeathTest, TheValueOfAFailureIsNeverHandedOut) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The dying child leaves no core file behind.
    auto without_core = [] {
        rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none);
    };
    EXPECT_DEATH((without_core(), (void)parse_digit('x').value()),
                 "value\\(\\) of a failed result: not a digit: x");
    EXPECT_DEATH((without_core(), (void)*echo("gone", true)), "value\\(\\) of a failed result: gone");
}

} // namespace
