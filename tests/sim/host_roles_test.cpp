#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/hosts/HostRoles.h"

namespace {

using zimtone::sim::find_host_role;
using zimtone::sim::HostRoleName;
using zimtone::sim::parse_role_name;
using zimtone::sim::role_name;

// The names are the wire protocol between the launcher, the page and `zimtone-host`.
TEST(HostRoles, EachRoleHasOneNameThatReadsBackAndItsOwnProcess) {
    struct Row {
        HostRoleName role;
        std::string name;
        std::string bundle;
    };
    const std::vector<Row> rows = {
        {HostRoleName::springboard, "springboard", "com.apple.springboard"},
        {HostRoleName::messages, "messages", "com.apple.mobilesms.notification"},
        {HostRoleName::settings, "settings", "com.apple.Preferences"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(role_name(row.role), row.name);
        EXPECT_EQ(parse_role_name(row.name), row.role) << row.name;
        auto host = find_host_role(row.name);
        ASSERT_TRUE(host) << row.name;
        EXPECT_EQ(host->role, row.name);
        EXPECT_EQ(host->bundle_identifier, row.bundle);
        EXPECT_TRUE(host->set_up) << row.name;
    }
}

TEST(HostRoles, OtherNamesAreNoRole) {
    for (std::string name : {"", "Springboard", "settings ", "message", "springboard\n", "?"}) {
        EXPECT_FALSE(parse_role_name(name)) << '"' << name << '"';
        EXPECT_FALSE(find_host_role(name)) << '"' << name << '"';
    }
}

} // namespace
