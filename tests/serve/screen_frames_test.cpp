// Screenshots of one host drawn again and again by the same renderer: each frame shows the screen
// as it stands then, with nothing left over from the frame before; and `frame` draws one only when
// something may have changed the screen since the caller's last.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/foundation/NotifyCenter.h"
#include "settings/Keys.h"
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

// Frames go to a folder of their own: files coming and going directly under the device root are
// news to the host's notification transport, which watches that folder.
class FramesOnChange : public ScreenFrames {
  protected:
    void SetUp() override {
        ScreenFrames::SetUp();
        fs::create_directory(device_.root() / "frames");
    }
    fs::path path() const { return device_.root() / "frames" / "frame.png"; }
    // One `frame` command; the file it wrote is taken away, its bytes kept in `png`.
    json frame(HostUnderTest& host, uint64_t since) {
        json answer = host.command("frame " + path().string() + " " + std::to_string(since));
        png = fs::exists(path()) ? read_file(path()) : "";
        fs::remove(path());
        return answer;
    }
    // The generation once the host has settled: what it did while starting (making its folders,
    // which its notification transport hears of) may still come in after its first frame.
    uint64_t settled(HostUnderTest& host) {
        json answer = frame(host, 0);
        for (int i = 0; i < 50 && answer["changed"] == true; ++i)
            answer = frame(host, answer["generation"].get<uint64_t>());
        EXPECT_EQ(answer["changed"], false) << answer;
        return answer["generation"];
    }
    std::string png;
};

TEST_F(FramesOnChange, OnlyCommandsThatMayChangeTheScreenMoveItsGeneration) {
    HostUnderTest host("springboard", device_.root(), true);
    json first = frame(host, 0);
    ASSERT_EQ(first["changed"], true) << first;
    EXPECT_EQ(png.substr(0, 4), "\x89PNG");
    uint64_t generation = settled(host);

    for (const char* look : {"dump", "ping", "help", "apps", "icon com.apple.MobileSMS", "tweak", "timers",
                             "log", "composer", "composer A B"}) {
        host.command(look);
        json answer = frame(host, generation);
        EXPECT_EQ(answer["changed"], false) << look << ": " << answer;
        EXPECT_EQ(answer["generation"], generation) << look;
        EXPECT_TRUE(png.empty()) << look << ": an unchanged screen was drawn";
    }
    EXPECT_EQ(frame(host, 0)["changed"], true) << "generation 0 always draws";

    const char* changes[] = {"bulletin com.apple.MobileSMS Lunch Soon",
                             "dismiss",
                             "nc open",
                             "nc close",
                             "lock",
                             "unlock",
                             "advance 1",
                             "layout"};
    for (const char* change : changes) {
        ASSERT_EQ(host.command(change).value("ok", false), true) << change;
        json answer = frame(host, generation);
        EXPECT_EQ(answer["changed"], true) << change << ": " << answer;
        EXPECT_GT(answer["generation"].get<uint64_t>(), generation) << change;
        EXPECT_EQ(png.substr(0, 4), "\x89PNG") << change;
        generation = answer["generation"];
    }
    EXPECT_EQ(host.finish(), 0);
}

TEST_F(FramesOnChange, ANotificationDeliveredToTheHostMovesItsGeneration) {
    HostUnderTest host("springboard", device_.root()); // the real clock: nothing but the datagram runs it
    uint64_t generation = settled(host);
    platform::foundation::CFNotificationCenterPostNotification(
        platform::foundation::CFNotificationCenterGetDarwinNotifyCenter(),
        zimtone::settings::notifications::kLoadBanner, nullptr, nullptr, true);
    json answer;
    // The datagram arrives on the host's loop at its own pace; bounded for a loaded machine.
    for (int i = 0; i < 400; ++i) {
        answer = frame(host, generation);
        if (answer["changed"] == true)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_EQ(answer["changed"], true) << answer;
    EXPECT_EQ(host.finish(), 0);
}

TEST_F(FramesOnChange, BadArgumentsAreRefusedWithTheirReason) {
    HostUnderTest host("springboard", device_.root(), true);
    struct Case {
        std::string line;
        std::string error;
    };
    const Case cases[] = {
        {"frame", "frame takes a file name and the generation of the last frame"},
        {"frame " + path().string(), "frame takes a file name and the generation of the last frame"},
        {"frame " + path().string() + " 1 2", "frame takes a file name and the generation of the last frame"},
        {"frame " + path().string() + " -1",
         "frame takes the last frame's generation as a whole number, 0 for none"},
        {"frame " + path().string() + " 1.5",
         "frame takes the last frame's generation as a whole number, 0 for none"},
        {"frame " + path().string() + " 99999999999999999999999",
         "frame takes the last frame's generation as a whole number, 0 for none"},
        {"frame " + (device_.root().parent_path() / "x.png").string() + " 0",
         "screenshot writes only under the device root"},
    };
    for (const auto& c : cases) {
        json answer = host.command(c.line);
        EXPECT_EQ(answer["ok"], false) << c.line;
        EXPECT_NE(answer.value("error", "").find(c.error), std::string::npos) << c.line << ": " << answer;
    }
    EXPECT_FALSE(fs::exists(device_.root().parent_path() / "x.png"));
    EXPECT_EQ(frame(host, 0)["changed"], true) << "the host still draws";
    EXPECT_EQ(host.finish(), 0);
}

} // namespace
