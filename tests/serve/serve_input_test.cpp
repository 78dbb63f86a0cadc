// What the page's touches, keys and hardware buttons become, what they refuse, and which of a
// host's requests the launcher carries out after them.
#include <gtest/gtest.h>

#include "sim/cli/ServeActions.h"
#include "sim/cli/ServeInput.h"
#include "sim/hosts/CommandLine.h"

namespace {

using nlohmann::json;
using zimtone::cli::follow_up_of;
using zimtone::cli::kScreenOnShow;
using zimtone::cli::plan_action;

TEST(ServeInput, InputGoesToTheScreenOnShowAndSleepToTheHomeScreen) {
    struct Case {
        json request;
        std::string role;
        std::string line;
        std::string show; // empty: the screen stays as it is
    };
    const Case cases[] = {
        {{{"action", "touch"}, {"phase", "down"}, {"x", 10}, {"y", 20.5}},
         kScreenOnShow,
         "touch down 10.00 20.50",
         ""},
        {{{"action", "touch"}, {"phase", "move"}, {"x", 187.256}, {"y", 333}},
         kScreenOnShow,
         "touch move 187.26 333.00",
         ""},
        {{{"action", "touch"}, {"phase", "up"}, {"x", 375}, {"y", 667}},
         kScreenOnShow,
         "touch up 375.00 667.00",
         ""},
        {{{"action", "touch"}, {"phase", "up"}, {"x", -20}, {"y", 687}},
         kScreenOnShow,
         "touch up -20.00 687.00",
         ""},
        {{{"action", "key"}, {"key", "a"}}, kScreenOnShow, "key \"a\"", ""},
        {{{"action", "key"}, {"key", "\""}}, kScreenOnShow, "key \"\\\"\"", ""},
        {{{"action", "key"}, {"key", "é"}}, kScreenOnShow, "key \"é\"", ""},
        {{{"action", "key"}, {"key", "🎉"}}, kScreenOnShow, "key \"🎉\"", ""},
        {{{"action", "key"}, {"key", " "}}, kScreenOnShow, "key \" \"", ""},
        {{{"action", "key"}, {"key", "Backspace"}}, kScreenOnShow, "key backspace", ""},
        {{{"action", "key"}, {"key", "Enter"}}, kScreenOnShow, "key enter", ""},
        {{{"action", "home"}}, kScreenOnShow, "home", ""},
        {{{"action", "sleep"}}, "springboard", "sleep", "springboard"},
    };
    for (const auto& c : cases) {
        auto result = plan_action(c.request);
        ASSERT_TRUE(result.ok()) << c.request.dump() << ": " << result.error();
        ASSERT_EQ(result->commands.size(), 1u) << c.request.dump();
        EXPECT_EQ(result->commands[0].role, c.role) << c.request.dump();
        EXPECT_EQ(result->commands[0].line, c.line) << c.request.dump();
        EXPECT_EQ(result->show.value_or(""), c.show) << c.request.dump();
        EXPECT_FALSE(result->notification) << c.request.dump();
        EXPECT_TRUE(result->follow_ups) << c.request.dump();
        auto parsed = zimtone::sim::parse_command_line(result->commands[0].line);
        EXPECT_TRUE(parsed && parsed->has_value()) << parsed.error();
    }
}

// Only a person's input may lead to what a host asks for; the page's other controls never do.
TEST(ServeInput, OnlyInputTakesFollowUps) {
    const json others[] = {
        {{"action", "bulletin"}, {"app", "a.b"}, {"title", "T"}, {"message", "M"}},
        {{"action", "reply"}, {"sender", "Ben"}, {"message", "On my way"}},
        {{"action", "nc-open"}},
        {{"action", "show"}, {"screen", "messages"}},
    };
    for (const auto& request : others) {
        auto result = plan_action(request);
        ASSERT_TRUE(result.ok()) << request.dump();
        EXPECT_FALSE(result->follow_ups) << request.dump();
    }
}

TEST(ServeInput, BadInputIsRefusedWithAReason) {
    struct Case {
        json request;
        std::string error;
    };
    const std::string off_x = "'x' is off the screen (0 to 375 points)";
    const std::string off_y = "'y' is off the screen (0 to 667 points)";
    const Case cases[] = {
        {{{"action", "touch"}, {"x", 1}, {"y", 1}}, "'phase' must be down, move or up"},
        {{{"action", "touch"}, {"phase", "hover"}, {"x", 1}, {"y", 1}}, "'phase' must be down, move or up"},
        {{{"action", "touch"}, {"phase", 1}, {"x", 1}, {"y", 1}}, "'phase' must be down, move or up"},
        {{{"action", "touch"}, {"phase", "down"}, {"y", 1}}, "'x' must be a number"},
        {{{"action", "touch"}, {"phase", "down"}, {"x", "1"}, {"y", 1}}, "'x' must be a number"},
        {{{"action", "touch"}, {"phase", "down"}, {"x", 1}, {"y", nullptr}}, "'y' must be a number"},
        {{{"action", "touch"}, {"phase", "down"}, {"x", true}, {"y", 1}}, "'x' must be a number"},
        {{{"action", "touch"}, {"phase", "down"}, {"x", -20.01}, {"y", 1}}, off_x},
        {{{"action", "touch"}, {"phase", "down"}, {"x", 395.01}, {"y", 1}}, off_x},
        {{{"action", "touch"}, {"phase", "down"}, {"x", 1}, {"y", 687.01}}, off_y},
        {{{"action", "touch"}, {"phase", "down"}, {"x", 1e308 * 10}, {"y", 1}}, off_x},
        {{{"action", "key"}}, "'key' must be a string"},
        {{{"action", "key"}, {"key", 65}}, "'key' must be a string"},
        {{{"action", "key"}, {"key", ""}}, "'key' must be one character, Backspace or Enter"},
        {{{"action", "key"}, {"key", "ab"}}, "'key' must be one character, Backspace or Enter"},
        {{{"action", "key"}, {"key", "backspace"}}, "'key' must be one character, Backspace or Enter"},
        {{{"action", "key"}, {"key", "\n"}}, "'key' must be one character, Backspace or Enter"},
        {{{"action", "key"}, {"key", "\x7f"}}, "'key' must be one character, Backspace or Enter"},
        {{{"action", "key"}, {"key", "\xc2\x85"}}, "'key' must be one character, Backspace or Enter"},
        {{{"action", "key"}, {"key", "\xed\xa0\x80"}}, "'key' must be one character, Backspace or Enter"},
        {{{"action", "key"}, {"key", "\xc3"}}, "'key' must be one character, Backspace or Enter"},
        {{{"action", "key"}, {"key", std::string(17, 'x')}}, "'key' is longer than 16 bytes"},
    };
    for (const auto& c : cases) {
        auto result = plan_action(c.request);
        EXPECT_FALSE(result.ok()) << c.request.dump(-1, ' ', false, json::error_handler_t::replace);
        EXPECT_EQ(result.error(), c.error) << c.request.dump(-1, ' ', false, json::error_handler_t::replace);
    }
}

TEST(ServeInput, AHostMayAskOnlyForTheQuickReplyAndAScreen) {
    // Allowed: the reply a banner's Reply opens, shown on the Messages screen.
    auto reply = follow_up_of(
        {{"ok", true},
         {"follow", {{"role", "messages"}, {"command", "reply \"Anna\" \"Lunch at \\\"noon\\\"?\""}}},
         {"show", "messages"}});
    ASSERT_TRUE(reply.ok()) << reply.error();
    // A reply still open on the extension is put away first.
    ASSERT_EQ(reply->commands.size(), 2u);
    EXPECT_EQ(reply->commands[0].role, "messages");
    EXPECT_EQ(reply->commands[0].line, "home");
    EXPECT_EQ(reply->commands[1].role, "messages");
    EXPECT_EQ(reply->commands[1].line, "reply \"Anna\" \"Lunch at \\\"noon\\\"?\"");
    EXPECT_EQ(reply->show.value_or(""), "messages");

    auto plain = follow_up_of({{"ok", true}, {"gesture", "nc-open"}});
    ASSERT_TRUE(plain.ok()) << plain.error();
    EXPECT_TRUE(plain->commands.empty());
    EXPECT_FALSE(plain->show);

    auto home = follow_up_of({{"ok", true}, {"show", "springboard"}});
    ASSERT_TRUE(home.ok()) << home.error();
    EXPECT_EQ(home->show.value_or(""), "springboard");

    const std::string refused = "a host asked for a command the launcher does not run for it";
    struct Case {
        json answer;
        std::string error;
    };
    const Case cases[] = {
        {{{"show", "settings"}}, "a host asked to show something that is no screen"},
        {{{"show", 1}}, "a host asked to show something that is no screen"},
        {{{"follow", {{"role", "springboard"}, {"command", "reply \"A\" \"B\""}}}}, refused},
        {{{"follow", {{"role", "messages"}, {"command", "respring"}}}}, refused},
        {{{"follow", {{"role", "messages"}, {"command", "reply close"}}}}, refused},
        {{{"follow", {{"role", "messages"}, {"command", "reply \"A\" \"B\" \"C\""}}}}, refused},
        {{{"follow", {{"role", "messages"}, {"command", "reply \"unterminated"}}}}, refused},
        {{{"follow", {{"role", "messages"}}}}, refused},
        {{{"follow", "reply"}}, refused},
        {{{"follow", {{"role", "messages"}, {"command", "reply \"A\" \"line\nbreak\""}}}},
         refused + ": 'message' holds a control character"},
        {{{"follow", {{"role", "messages"}, {"command", "reply \"" + std::string(201, 'x') + "\" \"B\""}}}},
         refused + ": 'sender' is longer than 200 bytes"},
    };
    for (const auto& c : cases) {
        auto result = follow_up_of(c.answer);
        EXPECT_FALSE(result.ok()) << c.answer.dump();
        EXPECT_EQ(result.error(), c.error) << c.answer.dump();
    }
}

} // namespace
