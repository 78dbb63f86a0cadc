// The notification directory removed or replaced while an observing process runs: the observer
// notices by itself, binds its socket again as soon as the directory can be used and goes on
// receiving; it never follows a link out of the device root, and nothing crashes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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

// Puts what stands at `replacement` in the directory's place in one step, so the observer never
// sees the path empty, and deletes the directory.
void replace_directory_with(const fs::path& replacement) {
    ASSERT_EQ(renameat2(AT_FDCWD, replacement.c_str(), AT_FDCWD, notify_directory().c_str(), RENAME_EXCHANGE),
              0)
        << std::strerror(errno);
    fs::remove_all(replacement);
}

// A folder outside every device root, removed with the test.
class OutsideFolder {
  public:
    OutsideFolder() {
        std::string pattern = (fs::temp_directory_path() / "zimtone-outside-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~OutsideFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    size_t entries() const {
        size_t count = 0;
        std::error_code ec;
        for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
            ++count;
        return count;
    }

  private:
    fs::path path_;
};

// Removes the directory by walking it, as `rm -r` does: the observer sees its socket go first
// and may bind again before the folder itself goes, which makes the removal fail; it is tried
// again as a person would.
void delete_directory_in_place() {
    for (int attempt = 0; attempt < 50 && fs::exists(fs::symlink_status(notify_directory())); ++attempt) {
        std::error_code ec;
        fs::remove_all(notify_directory(), ec);
    }
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

// Each case takes the directory away in a way that left observers deaf for good, then puts the
// path back as a plain absence; a post makes the directory again, as `zimtone post` would.
TEST(NotifyDirectoryFaults, ObserverReceivesAgainAfterTheDirectoryWasReplacedOrDeletedInPlace) {
    struct Case {
        const char* what;
        std::function<void(const OutsideFolder& outside)> take_away;
    };
    const Case cases[] = {
        {"replaced by a regular file, then the file removed",
         [](const OutsideFolder&) {
             const fs::path file = notify_directory().string() + ".file";
             std::ofstream(file) << "not a folder";
             replace_directory_with(file);
             RunLoop::main().run_for(0.2); // the observer looks at the file before it goes
             fs::remove(notify_directory());
         }},
        {"replaced by a link to a folder outside the device root, then the link removed",
         [](const OutsideFolder& outside) {
             const fs::path link = notify_directory().string() + ".link";
             fs::create_directory_symlink(outside.path(), link);
             replace_directory_with(link);
             RunLoop::main().run_for(0.2);
             fs::remove(notify_directory());
         }},
        {"deleted in place, entries first", [](const OutsideFolder&) { delete_directory_in_place(); }},
        {"the whole device gone, then made again",
         [](const OutsideFolder&) {
             const fs::path root = device_root();
             fs::rename(root, root.string() + ".gone");
             fs::remove_all(root.string() + ".gone");
             RunLoop::main().run_for(0.2);
             EXPECT_FALSE(fs::exists(root)) << "an observer brought back a device that was removed";
             fs::create_directory(root);
         }},
    };
    RunLoop::main().use_real_clock();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        zimtone::testing::TempDevice device;
        OutsideFolder outside;
        ASSERT_FALSE(outside.path().empty());
        const std::string name = "test.faults." + std::to_string(getpid()) + ".replaced";
        OutputProcess observer(NOTIFY_OBSERVER_HELPER, {device.root().string(), name});
        ASSERT_TRUE(observer.wait_for_output("ready\n"));
        ASSERT_TRUE(eventually([] { return socket_count() == 1; }));

        c.take_away(outside);
        EXPECT_EQ(outside.entries(), 0u) << "a socket was bound outside the device root";
        post(name); // makes the directory again
        EXPECT_TRUE(eventually([] { return socket_count() == 1; }))
            << "the observer did not bind its socket in the new directory";
        post(name);
        EXPECT_TRUE(observer.wait_for_output("received 1\n"));
        EXPECT_TRUE(observer.alive());
    }
}
