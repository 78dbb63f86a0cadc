// Screenshots of one host drawn again and again by the same renderer: each frame shows the screen
// as it stands then, with nothing left over from the frame before.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using zimtone::testing::HostUnderTest;
using zimtone::testing::TempDevice;

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A folder beside the device root, removed with the test.
struct FolderBeside {
    explicit FolderBeside(const fs::path& root) : path(root.string() + "-beside") {
        fs::create_directory(path);
    }
    ~FolderBeside() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

class ScreenFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string init = (zimtone::testing::build_bin_dir() / "zimtone").string() + " --root " +
                           device_.root().string() + " device init > /dev/null";
        ASSERT_EQ(std::system(init.c_str()), 0);
    }
    // One screenshot through the command channel; its PNG bytes, empty when the command failed.
    std::string shoot(HostUnderTest& host, const std::string& name) {
        fs::path path = device_.root() / (name + ".png");
        json answer = host.command("screenshot " + path.string());
        EXPECT_EQ(answer.value("ok", false), true) << answer;
        std::string png = read_file(path);
        fs::remove(path);
        return png;
    }
    TempDevice device_;
};

TEST_F(ScreenFrames, EachFrameShowsTheScreenAsItStandsThen) {
    HostUnderTest host("springboard", device_.root(), true);
    const std::string home = shoot(host, "home");
    ASSERT_EQ(home.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(shoot(host, "again"), home) << "an unchanged screen draws the same picture";

    ASSERT_EQ(host.command("bulletin com.apple.MobileSMS Lunch Soon")["banner"], "shown");
    const std::string banner = shoot(host, "banner");
    EXPECT_NE(banner, home);
    ASSERT_EQ(host.command("lock")["locked"], true);
    const std::string locked = shoot(host, "locked");
    EXPECT_NE(locked, banner);
    EXPECT_NE(locked, home);

    ASSERT_EQ(host.command("unlock")["locked"], false);
    ASSERT_EQ(host.command("advance 10")["ok"], true); // the banner's time is up
    EXPECT_EQ(shoot(host, "home-again"), home) << "a frame kept something of an earlier one";
    EXPECT_EQ(host.finish(), 0);
}

TEST_F(ScreenFrames, ScreenshotRefusesWhatItCannotWrite) {
    HostUnderTest host("springboard", device_.root(), true);
    // Beside the device root, and through a link inside it that leads there.
    const FolderBeside folder(device_.root());
    const fs::path& beside = folder.path;
    fs::create_directory_symlink(beside, device_.root() / "out");
    struct Case {
        std::string line;
        std::string error_part;
    };
    const Case cases[] = {
        {"screenshot", "screenshot takes one file name"},
        {"screenshot a.png b.png", "screenshot takes one file name"},
        {"screenshot " + (device_.root() / "no-such-folder" / "deeper" / "x.png").string(), "no-such-folder"},
        {"screenshot " + (beside / "x.png").string(), "screenshot writes only under the device root"},
        {"screenshot " + (device_.root() / "out" / "x.png").string(),
         "screenshot writes only under the device root"},
        {"screenshot " + (device_.root() / ".." / beside.filename() / "x.png").string(),
         "screenshot writes only under the device root"},
    };
    for (const auto& c : cases) {
        json answer = host.command(c.line);
        EXPECT_EQ(answer.value("ok", true), false) << c.line;
        EXPECT_NE(answer.value("error", std::string()).find(c.error_part), std::string::npos)
            << c.line << ": " << answer;
    }
    EXPECT_NE(shoot(host, "still-drawing"), "") << "a refused screenshot leaves the host able to draw";
    EXPECT_TRUE(fs::is_empty(beside)) << "a refused screenshot was written";
    EXPECT_EQ(host.finish(), 0);
}

TEST_F(ScreenFrames, ScreenshotWritesToTheOutputFolderTheHostWasStartedWith) {
    const FolderBeside folder(device_.root());
    const fs::path& out = folder.path;
    zimtone::sim::HostClient host(
        {zimtone::testing::build_bin_dir() / "zimtone-host", "springboard", device_.root(), true, {}},
        {{"--output-folder", out.string()}});
    ASSERT_TRUE(host.ready().is_object());
    json answer = host.command("screenshot " + (out / "shot.png").string());
    EXPECT_EQ(answer.value("ok", false), true) << answer;
    EXPECT_EQ(read_file(out / "shot.png").substr(0, 4), "\x89PNG");
    EXPECT_EQ(host.finish(), 0);
}

} // namespace
