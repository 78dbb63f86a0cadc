// `zimtone post` says how many processes received the name, so a post nobody hears is visible.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "tests/cli/command_run.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/OutputProcess.h"
#include "tests/support/TempDevice.h"

namespace {

using zimtone::testing::run_zimtone;

TEST(PostCount, SaysHowManyProcessesReceivedTheName) {
    zimtone::testing::TempDevice device;
    const std::string root = device.root().string();
    const std::string name = "com.example.count";

    auto unheard = run_zimtone({"--root", root, "post", name}, device.root());
    EXPECT_EQ(unheard.status, 0) << unheard.err;
    EXPECT_EQ(unheard.out, "posted " + name + " to 0 processes\n");

    zimtone::testing::OutputProcess observer((zimtone::testing::build_bin_dir() / "zimtone").string(),
                                             {"--root", root, "observe", name});
    ASSERT_TRUE(observer.started());
    // The observer binds its socket a moment after it starts; until then posts reach nobody.
    const std::string heard = "posted " + name + " to 1 process\n";
    zimtone::testing::CommandRun counted;
    for (int attempt = 0; attempt < 200 && counted.out != heard; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        counted = run_zimtone({"post", name, "--root", root}, device.root());
    }
    EXPECT_EQ(counted.status, 0) << counted.err;
    EXPECT_EQ(counted.out, heard);
    EXPECT_TRUE(observer.wait_for_output(name + "\n")) << observer.output();

    observer.send_signal(SIGTERM);
    int status = observer.wait_for_exit();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

} // namespace
