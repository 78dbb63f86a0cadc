// Bringing hosts back on request: a host that was killed is started again (even before the
// monitor has noticed), a running one is left alone, and one that cannot start says so.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "sim/launcher/HostSupervisor.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

using zimtone::sim::HostState;
using zimtone::sim::HostSupervisor;

nlohmann::json status_of(const HostSupervisor& hosts, const std::string& role) {
    for (const auto& host : hosts.status())
        if (host["role"] == role)
            return host;
    return nullptr;
}

TEST(HostSupervisorRevive, KilledHostComesBackRunningOneStaysAndAMissingOneIsReported) {
    zimtone::testing::TempDevice device;
    const auto bin = zimtone::testing::build_bin_dir();
    std::string init =
        (bin / "zimtone").string() + " --root " + device.root().string() + " device init > /dev/null";
    ASSERT_EQ(std::system(init.c_str()), 0);

    HostSupervisor hosts;
    std::vector<std::string> reports;
    hosts.on_report = [&](const std::string& line) { reports.push_back(line); };
    hosts.add({bin / "zimtone-host", "springboard", device.root(), false, {}}, {}, "no home screen");
    hosts.add({bin / "no-such-host", "messages", device.root(), false, {}}, {}, "no Messages extension");
    hosts.start_all();
    ASSERT_EQ(hosts.state("springboard"), HostState::Up);
    ASSERT_EQ(hosts.state("messages"), HostState::Unavailable);

    pid_t first = status_of(hosts, "springboard")["pid"];
    EXPECT_TRUE(hosts.revive("springboard")) << "a running host is up";
    EXPECT_EQ(status_of(hosts, "springboard")["pid"], first) << "a running host was restarted";

    // Killed and not yet reaped: revive itself notices the exit.
    ASSERT_EQ(kill(first, SIGKILL), 0);
    siginfo_t ended{};
    ASSERT_EQ(waitid(P_PID, first, &ended, WEXITED | WNOWAIT), 0)
        << "waits for the death, leaves the reaping";
    EXPECT_TRUE(hosts.revive("springboard"));
    auto home = status_of(hosts, "springboard");
    EXPECT_EQ(home["state"], "up") << home;
    EXPECT_NE(home["pid"], first);
    EXPECT_EQ(home["restarts"], 1);
    EXPECT_EQ(hosts.command("springboard", "apps").value("ok", false), true);

    EXPECT_FALSE(hosts.revive("messages"));
    auto messages = status_of(hosts, "messages");
    EXPECT_EQ(messages["state"], "exited");
    EXPECT_EQ(messages["detail"], "did not start again");
    EXPECT_FALSE(hosts.revive("nobody"));

    EXPECT_NE(std::find(reports.begin(), reports.end(), "the messages host did not start again"),
              reports.end());
    hosts.stop_all();
    EXPECT_NE(kill(home["pid"].get<pid_t>(), 0), 0) << "the revived host outlived stop_all";
}

} // namespace
