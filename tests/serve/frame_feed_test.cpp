// The screen feed: frames numbered only on change, errors shown in place of a picture, and the
// host on screen switched on request.
#include <gtest/gtest.h>

#include <fstream>
#include <mutex>

#include "sim/launcher/FrameFeed.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace std::chrono_literals;
using zimtone::sim::Frame;
using zimtone::sim::FrameFeed;

// A stand-in host screen: what the next capture shows, and who was asked.
struct FakeScreen {
    std::mutex lock;
    std::string picture { "picture-1" };
    std::string error;
    std::vector<std::string> asked;

    FrameFeed::Capture capture() {
        return [this](const std::string& role, const std::filesystem::path& path) {
            std::lock_guard guard(lock);
            asked.push_back(role);
            if (!error.empty()) return error;
            std::ofstream(path, std::ios::binary) << picture << ":" << role;
            return std::string();
        };
    }
    void set(std::string next_picture, std::string next_error = "") {
        std::lock_guard guard(lock);
        picture = std::move(next_picture);
        error = std::move(next_error);
    }
};

class FrameFeedTest : public ::testing::Test {
protected:
    zimtone::testing::TempDevice scratch;
    FakeScreen screen;
    FrameFeed feed { screen.capture(), scratch.root(), 10ms };

    // Waits (bounded, for a slow machine) until a frame newer than `after` arrives.
    Frame next_after(uint64_t after) {
        Frame frame;
        for (int i = 0; i < 50 && frame.sequence <= after; ++i) frame = feed.wait_for_frame(after, 200ms);
        return frame;
    }
};

TEST_F(FrameFeedTest, AWatcherGetsTheScreenAndThenOnlyChanges) {
    Frame first = next_after(0);
    ASSERT_EQ(first.sequence, 1u);
    EXPECT_EQ(first.png, "picture-1:springboard");
    EXPECT_EQ(first.role, "springboard");
    EXPECT_TRUE(first.error.empty());

    // The same picture again and again is no new frame, however often it is taken.
    Frame same = feed.wait_for_frame(first.sequence, 100ms);
    EXPECT_EQ(same.sequence, first.sequence);

    screen.set("picture-2");
    Frame second = next_after(first.sequence);
    EXPECT_EQ(second.sequence, 2u);
    EXPECT_EQ(second.png, "picture-2:springboard");
}

TEST_F(FrameFeedTest, AFailedCaptureIsAFrameWithItsReasonAndRecovers) {
    screen.set("", "the renderer is not built");
    Frame failed = next_after(0);
    EXPECT_TRUE(failed.png.empty());
    EXPECT_EQ(failed.error, "the renderer is not built");

    screen.set("back");
    Frame recovered = next_after(failed.sequence);
    EXPECT_EQ(recovered.png, "back:springboard");
    EXPECT_TRUE(recovered.error.empty());
}

TEST_F(FrameFeedTest, SwitchingTheScreenAsksTheOtherHost) {
    Frame home = next_after(0);
    feed.show("messages");
    EXPECT_EQ(feed.showing(), "messages");
    Frame messages = next_after(home.sequence);
    EXPECT_EQ(messages.role, "messages");
    EXPECT_EQ(messages.png, "picture-1:messages");
    std::lock_guard guard(screen.lock);
    EXPECT_EQ(screen.asked.back(), "messages");
}

TEST(FrameFeedScratch, CaptureFilesDoNotPileUp) {
    zimtone::testing::TempDevice scratch;
    FakeScreen screen;
    {
        FrameFeed feed(screen.capture(), scratch.root(), 10ms);
        feed.poke();
        for (int i = 0; i < 50 && feed.wait_for_frame(0, 200ms).sequence == 0; ++i) {
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(scratch.root()));
}

} // namespace
