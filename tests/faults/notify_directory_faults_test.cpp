// The notification directory removed while an observing process runs: the observer notices by
// itself, binds its socket again and goes on receiving; nothing crashes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/OutputProcess.h"
#include "tests/support/TempDevice.h"


using namespace platform::foundation;
using zimtone::testing::OutputProcess;
namespace fs = std::filesystem;

namespace {

// Generous: these bound a wait for something that should take milliseconds.
constexpr double kWait = 10.0;

fs::path notify_directory() {
    return resolve_device_path("/var/run/zimtone-notify");
}

size_t socket_count() {
    size_t count = 0;
    std::error_code error;
    for (auto& entry : fs::directory_iterator(notify_directory(), error))
        count += entry.is_socket();
    return count;
}

// Serves the main run loop until the condition holds; the condition may be about files, which no
// source announces, so it is checked every few milliseconds.
bool eventually(const std::function<bool()>& condition) {
    const double deadline = RunLoop::main().now() + kWait;
    while (!condition()) {
        if (RunLoop::main().now() > deadline)
            return false;
        RunLoop::main().run_once(0.005);
    }
    return true;
}

// Takes the directory away in one step, as a removal seen from its path, then deletes it.
void remove_directory() {
    fs::path gone = notify_directory().string() + ".gone";
    fs::rename(notify_directory(), gone);
    fs::remove_all(gone);
}


void post(const std::string& name) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name.c_str(), nullptr,
                                         nullptr, true);
}

} // namespace

TEST(NotifyDirectoryFaults, ObserverRebindsByItselfAfterTheDirectoryIsRemoved) {
    zimtone::testing::TempDevice device;
    RunLoop::main().use_real_clock();
    const std::string name = "test.faults." + std::to_string(getpid()) + ".directory";
    OutputProcess observer(NOTIFY_OBSERVER_HELPER, {device.root().string(), name});
    ASSERT_TRUE(observer.wait_for_output("ready\n"));
    post(name);
    ASSERT_TRUE(observer.wait_for_output("received 1\n"));

    for (int removal = 1; removal <= 3; ++removal) {
        remove_directory();
        // Nobody but the observer is left to make the directory again.
        ASSERT_TRUE(eventually([] { return socket_count() == 1; }))
            << "removal " << removal << ": the observer did not bind its socket again";
        post(name);
        EXPECT_TRUE(observer.wait_for_output("received " + std::to_string(removal + 1) + "\n"))
            << "removal " << removal;
    }
    EXPECT_TRUE(observer.alive());
}

TEST(NotifyDirectoryFaults, ObserverRebindsAfterItsSocketFileAloneIsRemoved) {
    zimtone::testing::TempDevice device;
    RunLoop::main().use_real_clock();
    const std::string name = "test.faults." + std::to_string(getpid()) + ".socket";
    OutputProcess observer(NOTIFY_OBSERVER_HELPER, {device.root().string(), name});
    ASSERT_TRUE(observer.wait_for_output("ready\n"));
    ASSERT_TRUE(eventually([] { return socket_count() == 1; }));

    for (auto& entry : fs::directory_iterator(notify_directory()))
        fs::remove(entry.path());
    ASSERT_TRUE(eventually([] { return socket_count() == 1; }));
    post(name);
    EXPECT_TRUE(observer.wait_for_output("received 1\n"));
    EXPECT_TRUE(observer.alive());
}
