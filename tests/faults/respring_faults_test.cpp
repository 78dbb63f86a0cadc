// Twenty resprings in a row: each one ends the home-screen host with the respring status, a new
// host comes up on the same device every time, and what a fresh host holds does not creep up
// from one start to the next.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/NotifyCenter.h"
#include "settings/Keys.h"
#include "sim/hosts/HostProcess.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

using namespace zimtone::testing;

namespace {

constexpr int kResprings = 20;

// Resident memory of a process in KiB, from /proc; 0 when it cannot be read.
long resident_kib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// The host ends by itself after the notification; the bound only keeps a broken host from
// hanging the suite.
std::optional<int> wait_for_exit(HostUnderTest& host) {
    for (int i = 0; i < 400; ++i) {
        if (auto raw = host.poll_exit())
            return raw;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return std::nullopt;
}

} // namespace

TEST(Resprings, TwentyInARowEachHostComesBackWithoutGrowing) {
    std::signal(SIGPIPE, SIG_IGN);
    TempDevice device;
    std::string init = (build_bin_dir() / "zimtone").string() + " --root " + device.root().string() +
                       " device init > /dev/null";
    ASSERT_EQ(std::system(init.c_str()), 0);

    std::vector<long> resident;
    for (int round = 0; round < kResprings; ++round) {
        SCOPED_TRACE("respring " + std::to_string(round + 1));
        HostUnderTest host("springboard", device.root(), /*virtual_clock*/ true);
        ASSERT_TRUE(host.ready().is_object()) << "the host did not come back";
        // A delivered bulletin shows the tweak is live in this host, not only the process.
        auto answer = host.command("bulletin com.example.zebra Zebra Stripes");
        ASSERT_TRUE(answer.value("ok", false)) << answer.dump();
        ASSERT_TRUE(host.command("dismiss").value("ok", false));
        resident.push_back(resident_kib(host.pid()));
        ASSERT_GT(resident.back(), 0);

        platform::foundation::CFNotificationCenterPostNotification(
            platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(),
            zimtone::settings::notifications::kRespring, nullptr, nullptr, true);
        auto raw = wait_for_exit(host);
        ASSERT_TRUE(raw) << "the host did not end after the respring notification";
        ASSERT_TRUE(WIFEXITED(*raw)) << zimtone::sim::describe_wait_status(*raw);
        EXPECT_EQ(WEXITSTATUS(*raw), zimtone::sim::kRespringExitStatus);
    }

    // Each start is a fresh process, so anything left behind by earlier ones (sockets, files,
    // settings the device keeps) is what could make later ones bigger.
    std::vector<long> first(resident.begin(), resident.begin() + 5);
    std::sort(first.begin(), first.end());
    long baseline = first[2];
    long tolerance = baseline / 10 + 1024; // allocator and page-cache noise
    for (int round = kResprings - 5; round < kResprings; ++round)
        EXPECT_LE(resident[round], baseline + tolerance)
            << "start " << round + 1 << " holds " << resident[round] << " KiB against " << baseline;
}
