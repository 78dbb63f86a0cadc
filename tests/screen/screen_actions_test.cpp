// The device page's composer and follow-settings controls: what each sends to which host, that
// neither changes the screen on show, and what they refuse.
#include <gtest/gtest.h>

#include "sim/cli/ServeActions.h"

namespace {

using nlohmann::json;
using zimtone::cli::plan_action;

TEST(ScreenActions, ComposerAndFollowSettingsReachTheirHosts) {
    struct Case {
        json request;
        std::vector<std::pair<std::string, std::string>> commands; // role, line
    };
    const Case cases[] = {
        {{{"action", "composer"}, {"title", "Lunch"}, {"message", "At noon, \"downstairs\""}},
         {{"springboard", "composer \"Lunch\" \"At noon, \\\"downstairs\\\"\""}}},
        {{{"action", "follow-settings"}, {"on", true}},
         {{"springboard", "follow-settings on"}, {"messages", "follow-settings on"}}},
        {{{"action", "follow-settings"}, {"on", false}},
         {{"springboard", "follow-settings off"}, {"messages", "follow-settings off"}}},
    };
    for (const auto& c : cases) {
        auto result = plan_action(c.request);
        ASSERT_TRUE(result.ok()) << c.request << ": " << result.error();
        std::vector<std::pair<std::string, std::string>> commands;
        for (const auto& command : result->commands)
            commands.emplace_back(command.role, command.line);
        EXPECT_EQ(commands, c.commands) << c.request;
        EXPECT_FALSE(result->show) << c.request << ": the screen on show stays";
        EXPECT_FALSE(result->notification) << c.request;
    }
}

TEST(ScreenActions, BadComposerOrSwitchRequestsAreRefusedWithTheirReason) {
    const std::pair<json, std::string> cases[] = {
        {{{"action", "composer"}, {"message", "M"}}, "'title' is missing"},
        {{{"action", "composer"}, {"title", "T"}}, "'message' is missing"},
        {{{"action", "composer"}, {"title", ""}, {"message", "M"}}, "'title' is empty"},
        {{{"action", "composer"}, {"title", "T"}, {"message", 5}}, "'message' must be a string"},
        {{{"action", "composer"}, {"title", "T\nU"}, {"message", "M"}}, "'title' holds a control character"},
        {{{"action", "composer"}, {"title", std::string(201, 'x')}, {"message", "M"}},
         "'title' is longer than 200 bytes"},
        {{{"action", "follow-settings"}}, "'on' must be true or false"},
        {{{"action", "follow-settings"}, {"on", "yes"}}, "'on' must be true or false"},
        {{{"action", "follow-settings"}, {"on", 1}}, "'on' must be true or false"},
    };
    for (const auto& [request, error] : cases) {
        auto result = plan_action(request);
        EXPECT_FALSE(result.ok()) << request;
        EXPECT_EQ(result.error(), error) << request;
    }
}

} // namespace
