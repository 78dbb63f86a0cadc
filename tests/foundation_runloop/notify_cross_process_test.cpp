// The Darwin notify centre between two real processes: the test and a helper it starts.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"
#include "tests/foundation_runloop/NotifySockets.h"
#include "tests/support/OutputProcess.h"
#include "tests/support/TempDevice.h"

using namespace platform::foundation;
using zimtone::testing::notify_directory;
using zimtone::testing::notify_sockets;
using zimtone::testing::OutputProcess;
using zimtone::testing::TempDevice;

namespace {

constexpr double kWait = 5.0;

std::vector<std::string> received;

void record(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef) {
    received.emplace_back(name);
}

bool has_received(const std::string& name) {
    return std::find(received.begin(), received.end(), name) != received.end();
}

// Sockets of other processes only: this process observes too, and binds its own socket in a new
// device root as soon as it notices the old one is gone.
std::vector<std::string> added_sockets(const std::vector<std::string>& before) {
    const std::string own_prefix = std::to_string(getpid()) + "-";
    std::vector<std::string> added;
    for (auto& name : notify_sockets())
        if (std::find(before.begin(), before.end(), name) == before.end() && !name.starts_with(own_prefix))
            added.push_back(name);
    return added;
}

std::string unique_name(const char* what) {
    return "test.xproc." + std::to_string(getpid()) + "." + what;
}

class NotifyCrossProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        RunLoop::main().use_real_clock();
        received.clear();
    }
    TempDevice root_;
};

} // namespace

TEST_F(NotifyCrossProcess, PostReachesTheOtherProcessAndThePosterAndTheAnswerComesBack) {
    const std::string ping = unique_name("ping");
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    CFNotificationCenterAddObserver(center, nullptr, record, ping.c_str(), nullptr,
                                    CFNotificationSuspensionBehaviorDrop);
    CFNotificationCenterAddObserver(center, nullptr, record, (ping + ".ack").c_str(), nullptr,
                                    CFNotificationSuspensionBehaviorDrop);
    auto before = notify_sockets();

    OutputProcess helper(NOTIFY_HELPER_PATH, {root_.root().string(), ping});
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.wait_for_output("ready\n")) << helper.output();
    auto helper_sockets = added_sockets(before);
    ASSERT_EQ(helper_sockets.size(), 1u);

    int object = 0;
    CFNotificationCenterPostNotification(center, ping.c_str(), &object, &object, true);
    ASSERT_TRUE(
        RunLoop::main().run_until([&] { return has_received(ping) && has_received(ping + ".ack"); }, kWait))
        << helper.output();
    int status = helper.wait_for_exit();

    EXPECT_EQ(helper.output(), "ready\nreceived " + ping + " object=null userInfo=null\n");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(added_sockets(before).empty()) << "the helper removes its socket at exit";
}

struct EndingCase {
    const char* name;
    enum Way { AnswerAndExit, Terminate, Kill } way;
    bool socket_left_behind; // until the next post finds it refusing
};
void PrintTo(const EndingCase& c, std::ostream* out) {
    *out << c.name;
}

class NotifyHelperEnding : public NotifyCrossProcess, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(NotifyHelperEnding, SocketOfAnEndedProcessDoesNotOutliveTheNextPost) {
    const EndingCase& c = GetParam();
    const std::string name = unique_name(c.name);
    auto before = notify_sockets();
    OutputProcess helper(NOTIFY_HELPER_PATH, {root_.root().string(), name});
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.wait_for_output("ready\n")) << helper.output();
    auto helper_sockets = added_sockets(before);
    ASSERT_EQ(helper_sockets.size(), 1u);

    switch (c.way) {
    case EndingCase::AnswerAndExit:
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name.c_str(),
                                             nullptr, nullptr, true);
        break;
    case EndingCase::Terminate:
        helper.send_signal(SIGTERM);
        break;
    case EndingCase::Kill:
        helper.send_signal(SIGKILL);
        break;
    }
    int status = helper.wait_for_exit();
    switch (c.way) {
    case EndingCase::AnswerAndExit:
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        break;
    case EndingCase::Terminate:
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 143);
        break;
    case EndingCase::Kill:
        EXPECT_TRUE(WIFSIGNALED(status));
        break;
    }

    auto socket_path = notify_directory() / helper_sockets[0];
    EXPECT_EQ(std::filesystem::exists(socket_path), c.socket_left_behind);
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), "test.xproc.sweep",
                                         nullptr, nullptr, true);
    EXPECT_FALSE(std::filesystem::exists(socket_path));
}

INSTANTIATE_TEST_SUITE_P(Ways, NotifyHelperEnding,
                         ::testing::Values(EndingCase{"AnswerAndExit", EndingCase::AnswerAndExit, false},
                                           EndingCase{"Terminate", EndingCase::Terminate, false},
                                           EndingCase{"Kill", EndingCase::Kill, true}),
                         [](const auto& info) { return std::string(info.param.name); });
