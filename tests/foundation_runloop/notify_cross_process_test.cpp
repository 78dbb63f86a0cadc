// The Darwin notify centre between two real processes: the test and a helper it starts.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"
#include "tests/foundation_runloop/NotifySockets.h"
#include "tests/support/TempDevice.h"

extern char** environ;

using namespace platform::foundation;
using zimtone::testing::TempDevice;
using zimtone::testing::notify_directory;
using zimtone::testing::notify_sockets;

namespace {

constexpr double kWait = 5.0;

std::vector<std::string> received;

void record(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef) {
    received.emplace_back(name);
}

bool has_received(const std::string& name) {
    return std::find(received.begin(), received.end(), name) != received.end();
}

// The helper process, its standard output collected through a source of the main run loop.
class Helper {
  public:
    Helper(const std::filesystem::path& device_root, const std::string& name) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::string root = device_root.string();
        std::vector<char*> argv{const_cast<char*>(NOTIFY_HELPER_PATH), root.data(),
                                const_cast<char*>(name.c_str()), nullptr};
        if (posix_spawn(&pid_, NOTIFY_HELPER_PATH, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_fd_ = fds[0];
        fcntl(out_fd_, F_SETFL, O_NONBLOCK);
        RunLoop::main().add_source(out_fd_, [this] { read_output(); });
    }
    ~Helper() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close_output();
    }

    bool started() const { return pid_ > 0; }
    const std::string& output() const { return output_; }
    bool wait_for_output(const std::string& text) {
        return RunLoop::main().run_until([&] { return output_.find(text) != std::string::npos; }, kWait);
    }
    void send_signal(int signal) { kill(pid_, signal); }
    // Waits for the helper to close its output and end; kills it if it does not. Answers the wait status.
    int wait_for_exit() {
        if (!RunLoop::main().run_until([&] { return out_fd_ < 0; }, kWait))
            kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

  private:
    void read_output() {
        char buffer[256];
        ssize_t n;
        while ((n = read(out_fd_, buffer, sizeof buffer)) > 0)
            output_.append(buffer, n);
        if (n == 0)
            close_output();
    }
    void close_output() {
        if (out_fd_ < 0)
            return;
        RunLoop::main().remove_source(out_fd_);
        close(out_fd_);
        out_fd_ = -1;
    }

    pid_t pid_{-1};
    int out_fd_{-1};
    std::string output_;
};

std::vector<std::string> added_sockets(const std::vector<std::string>& before) {
    std::vector<std::string> added;
    for (auto& name : notify_sockets())
        if (std::find(before.begin(), before.end(), name) == before.end())
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

    Helper helper(root_.root(), ping);
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
    Helper helper(root_.root(), name);
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
