// The device's runtime folders and sockets are the user's alone whatever the umask, and are never
// reached through a link or a file put in their place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/RuntimeFolder.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/OutputProcess.h"
#include "tests/support/TempDevice.h"

using namespace platform::foundation;
namespace fs = std::filesystem;
using zimtone::testing::TempDevice;

namespace {

// The umask of the test process, and so of every process it starts, for one test.
class OpenUmask {
  public:
    OpenUmask() : saved_(umask(0)) {}
    ~OpenUmask() { umask(saved_); }

  private:
    mode_t saved_;
};

mode_t mode_of(const fs::path& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::string open_folder(const std::string& device_path) {
    auto opened = open_runtime_folder(device_path);
    if (opened)
        close(*opened);
    return opened.error();
}

} // namespace

TEST(RuntimeFolders, AreMadeOwnerOnlyAndNeverReachedThroughALinkOrAFile) {
    OpenUmask open_umask;
    struct Case {
        const char* what;
        std::function<void(const TempDevice& device, const fs::path& outside)> prepare;
        std::string error_part; // empty: the folder opens, owner-only
    };
    const Case cases[] = {
        {"missing with every folder on the way", [](auto&, auto&) {}, ""},
        {"left open by an earlier run",
         [](const TempDevice& device, auto&) {
             fs::create_directories(device.path("/var/run/zimtone-test"));
             fs::permissions(device.path("/var/run/zimtone-test"), fs::perms::all);
         },
         ""},
        {"a link to a folder outside",
         [](const TempDevice& device, const fs::path& outside) {
             fs::create_directories(device.path("/var/run"));
             fs::create_directory_symlink(outside, device.path("/var/run/zimtone-test"));
         },
         "is a symbolic link"},
        {"a folder on the way is a link",
         [](const TempDevice& device, const fs::path& outside) {
             fs::create_directories(device.path("/var"));
             fs::create_directory_symlink(outside, device.path("/var/run"));
         },
         "is a symbolic link"},
        {"no device yet", [](const TempDevice& device, auto&) { std::filesystem::remove_all(device.root()); },
         "the device root "},
        {"a file in its place",
         [](const TempDevice& device, auto&) {
             fs::create_directories(device.path("/var/run"));
             std::ofstream(device.path("/var/run/zimtone-test")) << "x";
         },
         "is not a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDevice device;
        TempDevice outside_device; // a folder outside the first device's root
        fs::path outside = outside_device.root();
        set_device_root(device.root());
        c.prepare(device, outside);
        const bool had_root = fs::exists(device.root());

        std::string error = open_folder("/var/run/zimtone-test");
        EXPECT_EQ(fs::exists(device.root()), had_root) << "the device root is the user's to make";
        if (c.error_part.empty()) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(mode_of(device.path("/var/run/zimtone-test")), 0700u);
        } else {
            EXPECT_NE(error.find(c.error_part), std::string::npos) << error;
            EXPECT_TRUE(fs::is_empty(outside)) << "something was made outside the device root";
        }
    }
}

TEST(RuntimeFolders, SocketsOfObserversAndHostsAreOwnerOnlyUnderAnOpenUmask) {
    OpenUmask open_umask;
    TempDevice device;
    std::string init = (zimtone::testing::build_bin_dir() / "zimtone").string() + " --root " +
                       device.root().string() + " device init > /dev/null";
    ASSERT_EQ(std::system(init.c_str()), 0);
    RunLoop::main().use_real_clock();
    zimtone::testing::OutputProcess observer(NOTIFY_OBSERVER_HELPER,
                                             {device.root().string(), "test.faults.permissions"});
    ASSERT_TRUE(observer.wait_for_output("ready\n"));
    zimtone::testing::HostUnderTest host("springboard", device.root(), true);
    ASSERT_TRUE(host.ready().is_object());

    const fs::path folders[] = {device.path("/var/run/zimtone-notify"),
                                device.path("/var/run/zimtone-hosts")};
    size_t sockets = 0;
    for (const auto& folder : folders) {
        EXPECT_EQ(mode_of(folder), 0700u) << folder;
        for (const auto& entry : fs::directory_iterator(folder)) {
            ++sockets;
            EXPECT_TRUE(entry.is_socket()) << entry.path();
            EXPECT_EQ(mode_of(entry.path()), 0600u) << entry.path();
        }
    }
    EXPECT_EQ(sockets, 3u) << "the observer's and the host's notification sockets and the control socket";
    EXPECT_EQ(host.finish(), 0);
}
