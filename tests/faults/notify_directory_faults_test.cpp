// The notification directory removed while an observing process runs: the observer notices by
// itself, binds its socket again and goes on receiving; nothing crashes.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/TempDevice.h"

extern char** environ;

using namespace platform::foundation;
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

// The observer process with its standard output read through the main run loop.
class Observer {
  public:
    Observer(const fs::path& root, const std::string& name) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::string root_text = root.string();
        std::vector<char*> argv{const_cast<char*>(NOTIFY_OBSERVER_HELPER), root_text.data(),
                                const_cast<char*>(name.c_str()), nullptr};
        if (posix_spawn(&pid_, NOTIFY_OBSERVER_HELPER, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_fd_ = fds[0];
        fcntl(out_fd_, F_SETFL, O_NONBLOCK);
        RunLoop::main().add_source(out_fd_, [this] { read_output(); });
    }
    ~Observer() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        RunLoop::main().remove_source(out_fd_);
        close(out_fd_);
    }
    bool wait_for_output(const std::string& text) {
        return eventually([&] { return output_.find(text) != std::string::npos; });
    }
    bool alive() const { return pid_ > 0 && kill(pid_, 0) == 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

  private:
    void read_output() {
        char buffer[256];
        for (ssize_t n; (n = read(out_fd_, buffer, sizeof buffer)) > 0;)
            output_.append(buffer, static_cast<size_t>(n));
    }
    pid_t pid_{-1};
    int out_fd_{-1};
    std::string output_;
};

void post(const std::string& name) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name.c_str(), nullptr,
                                         nullptr, true);
}

} // namespace

TEST(NotifyDirectoryFaults, ObserverRebindsByItselfAfterTheDirectoryIsRemoved) {
    zimtone::testing::TempDevice device;
    RunLoop::main().use_real_clock();
    const std::string name = "test.faults." + std::to_string(getpid()) + ".directory";
    Observer observer(device.root(), name);
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
    Observer observer(device.root(), name);
    ASSERT_TRUE(observer.wait_for_output("ready\n"));
    ASSERT_TRUE(eventually([] { return socket_count() == 1; }));

    for (auto& entry : fs::directory_iterator(notify_directory()))
        fs::remove(entry.path());
    ASSERT_TRUE(eventually([] { return socket_count() == 1; }));
    post(name);
    EXPECT_TRUE(observer.wait_for_output("received 1\n"));
    EXPECT_TRUE(observer.alive());
}
