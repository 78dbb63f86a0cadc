// What each control of the device page sends where, and what it refuses.
#include <gtest/gtest.h>

#include "settings/Keys.h"
#include "sim/cli/ServeActions.h"
#include "sim/hosts/CommandLine.h"

namespace {

using nlohmann::json;
using zimtone::cli::plan_action;

TEST(ServeActions, ControlsBecomeHostCommandsAndNotifications) {
    struct Case {
        json request;
        std::string role; // empty: no host command
        std::string line;
        std::string notification; // empty: none
        std::string show;
    };
    const Case cases[] = {
        {{{"action", "bulletin"}, {"app", "com.apple.MobileSMS"}, {"title", "Anna"}, {"message", "Lunch?"}},
         "springboard",
         "bulletin \"com.apple.MobileSMS\" \"Anna\" \"Lunch?\"",
         "",
         "springboard"},
        {{{"action", "bulletin"}, {"app", "a.b"}, {"title", "T"}, {"message", "M"}, {"subtitle", "S"}},
         "springboard",
         "bulletin \"a.b\" \"T\" \"M\" \"S\"",
         "",
         "springboard"},
        {{{"action", "dismiss"}}, "springboard", "dismiss", "", "springboard"},
        {{{"action", "nc-open"}}, "springboard", "nc open", "", "springboard"},
        {{{"action", "nc-close"}}, "springboard", "nc close", "", "springboard"},
        {{{"action", "lock"}}, "springboard", "lock", "", "springboard"},
        {{{"action", "unlock"}}, "springboard", "unlock", "", "springboard"},
        {{{"action", "reply"}, {"sender", "Ben"}, {"message", "On my way"}},
         "messages",
         "reply \"Ben\" \"On my way\"",
         "",
         "messages"},
        {{{"action", "reply-close"}}, "messages", "reply close", "", "springboard"},
        {{{"action", "test-banner"}}, "", "", "org.quillhaven.zimtonepro2/inApp-TestBanner", "springboard"},
        {{{"action", "test-lockscreen"}},
         "",
         "",
         "org.quillhaven.zimtonepro2/lockScreen-TestBanner",
         "springboard"},
        {{{"action", "respring"}}, "", "", "org.quillhaven.zimtonepro2/respring", "springboard"},
        {{{"action", "show"}, {"screen", "messages"}}, "", "", "", "messages"},
    };
    for (const auto& c : cases) {
        auto result = plan_action(c.request);
        ASSERT_TRUE(result.ok()) << c.request.dump() << ": " << result.error();
        const auto& plan = *result;
        if (c.role.empty()) {
            EXPECT_TRUE(plan.commands.empty()) << c.request.dump();
        } else {
            ASSERT_EQ(plan.commands.size(), 1u) << c.request.dump();
            EXPECT_EQ(plan.commands[0].role, c.role);
            EXPECT_EQ(plan.commands[0].line, c.line);
        }
        EXPECT_EQ(plan.notification.value_or(""), c.notification) << c.request.dump();
        EXPECT_EQ(plan.show.value_or(""), c.show) << c.request.dump();
    }
}

// A respring brings back every host, dead ones included; a restart only the one named.
TEST(ServeActions, RespringAndRestartNameTheHostsToBringBack) {
    struct Case {
        json request;
        std::vector<std::string> revive;
    };
    const Case cases[] = {
        {{{"action", "respring"}}, {"springboard", "messages", "settings"}},
        {{{"action", "restart"}, {"role", "springboard"}}, {"springboard"}},
        {{{"action", "restart"}, {"role", "settings"}}, {"settings"}},
        {{{"action", "test-banner"}}, {}},
        {{{"action", "dismiss"}}, {}},
    };
    for (const auto& c : cases) {
        auto result = plan_action(c.request);
        ASSERT_TRUE(result.ok()) << c.request.dump() << ": " << result.error();
        EXPECT_EQ(result->revive, c.revive) << c.request.dump();
    }
    auto restart = plan_action({{"action", "restart"}, {"role", "messages"}});
    ASSERT_TRUE(restart.ok());
    EXPECT_TRUE(restart->commands.empty());
    EXPECT_FALSE(restart->notification) << "a restart is not a respring";
}

TEST(ServeActions, TypedTextReachesTheHostWordForWord) {
    // Quotes, backslashes and non-ASCII text must come out of the host's parser unchanged.
    const std::string title = "She said \"hi\" \\ ok";
    const std::string message = "Grüße — 🎉 à bientôt";
    auto result =
        plan_action({{"action", "bulletin"}, {"app", "com.x"}, {"title", title}, {"message", message}});
    ASSERT_TRUE(result.ok()) << result.error();
    auto parsed = zimtone::sim::parse_command_line(result->commands[0].line);
    ASSERT_TRUE(parsed) << parsed.error();
    ASSERT_TRUE(parsed->has_value());
    EXPECT_EQ((*parsed)->name, "bulletin");
    EXPECT_EQ((*parsed)->args, (std::vector<std::string>{"com.x", title, message}));
}

TEST(ServeActions, BadRequestsAreRefusedWithAReason) {
    struct Case {
        json request;
        std::string error;
    };
    const Case cases[] = {
        {json::array(), "the request must be a JSON object"},
        {json::object(), "'action' is missing"},
        {{{"action", 5}}, "'action' is missing"},
        {{{"action", "format-disk"}}, "unknown action 'format-disk'"},
        {{{"action", "bulletin"}, {"title", "T"}, {"message", "M"}}, "'app' is missing"},
        {{{"action", "bulletin"}, {"app", "a b"}, {"title", "T"}, {"message", "M"}},
         "'app' is not a bundle identifier"},
        {{{"action", "bulletin"}, {"app", "../../etc"}, {"title", "T"}, {"message", "M"}},
         "'app' is not a bundle identifier"},
        {{{"action", "bulletin"}, {"app", "a"}, {"title", ""}, {"message", "M"}}, "'title' is empty"},
        {{{"action", "bulletin"}, {"app", "a"}, {"title", 3}, {"message", "M"}}, "'title' must be a string"},
        {{{"action", "bulletin"}, {"app", "a"}, {"title", "T"}, {"message", "line\nbreak"}},
         "'message' holds a control character"},
        {{{"action", "bulletin"}, {"app", "a"}, {"title", std::string(201, 'x')}, {"message", "M"}},
         "'title' is longer than 200 bytes"},
        {{{"action", "bulletin"}, {"app", "a"}, {"title", "T"}, {"message", std::string(1001, 'x')}},
         "'message' is longer than 1000 bytes"},
        {{{"action", "reply"}, {"sender", "Ben"}}, "'message' is missing"},
        {{{"action", "show"}, {"screen", "settings"}}, "'screen' must be springboard or messages"},
        {{{"action", "restart"}}, "'role' is missing"},
        {{{"action", "restart"}, {"role", "kernel"}}, "'role' must be springboard, messages or settings"},
    };
    for (const auto& c : cases) {
        auto result = plan_action(c.request);
        EXPECT_FALSE(result.ok()) << c.request.dump();
        EXPECT_EQ(result.error(), c.error) << c.request.dump();
    }
}

TEST(ServeActions, LongestAllowedTextStaysWithinOneCommandLine) {
    // Every character of the longest fields quoted with a backslash still fits the host's limit.
    auto result = plan_action({{"action", "bulletin"},
                               {"app", std::string(zimtone::cli::kMaxAppIdentifier, 'a')},
                               {"title", std::string(zimtone::cli::kMaxTitle, '"')},
                               {"message", std::string(zimtone::cli::kMaxMessage, '\\')},
                               {"subtitle", std::string(zimtone::cli::kMaxTitle, '"')}});
    ASSERT_TRUE(result.ok()) << result.error();
    auto parsed = zimtone::sim::parse_command_line(result->commands[0].line);
    EXPECT_TRUE(parsed && parsed->has_value()) << parsed.error();
}

} // namespace
