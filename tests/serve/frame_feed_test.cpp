// The screen feed: hosts asked whether their screen changed and drawn only then, frames numbered
// only on change, errors shown in place of a picture, and the host on screen switched on request.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <mutex>

#include "sim/launcher/FrameFeed.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace std::chrono_literals;
using zimtone::sim::Frame;
using zimtone::sim::FrameFeed;

// A stand-in host screen: what the next capture shows, its generation (moved by every change),
// who was asked with which generation, and how many pictures were drawn.
struct FakeScreen {
    std::mutex lock;
    std::string picture{"picture-1"};
    std::string error;
    uint64_t generation{100};
    std::vector<std::string> asked;
    std::vector<uint64_t> since;
    int drawn{0};

    FrameFeed::Capture capture() {
        return [this](const std::string& role, const std::filesystem::path& path, uint64_t last) {
            std::lock_guard guard(lock);
            asked.push_back(role);
            since.push_back(last);
            FrameFeed::CaptureResult result;
            if (!error.empty()) {
                result.error = error;
                return result;
            }
            result.generation = generation;
            if (last == generation) {
                result.changed = false;
                return result;
            }
            ++drawn;
            std::ofstream(path, std::ios::binary) << picture << ":" << role;
            return result;
        };
    }
    void set(std::string next_picture, std::string next_error = "") {
        std::lock_guard guard(lock);
        picture = std::move(next_picture);
        error = std::move(next_error);
        ++generation;
    }
    // Marks the screen changed without changing what it shows (a timer that redrew the same).
    void touch() {
        std::lock_guard guard(lock);
        ++generation;
    }
    int drawings() {
        std::lock_guard guard(lock);
        return drawn;
    }
    size_t questions() {
        std::lock_guard guard(lock);
        return asked.size();
    }
};

class FrameFeedTest : public ::testing::Test {
  protected:
    zimtone::testing::TempDevice scratch;
    FakeScreen screen;
    FrameFeed feed{screen.capture(), scratch.root(), 10ms};

    // Waits (bounded, for a slow machine) until a frame newer than `after` arrives.
    Frame next_after(uint64_t after) {
        Frame frame;
        for (int i = 0; i < 50 && frame.sequence <= after; ++i)
            frame = feed.wait_for_frame(after, 200ms);
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

TEST_F(FrameFeedTest, AnUnchangedScreenIsAskedAboutButNotDrawnAgain) {
    Frame first = next_after(0);
    ASSERT_EQ(first.sequence, 1u);
    const int drawn = screen.drawings();
    const size_t asked = screen.questions();
    // Watched for a while: the host is asked each period, and draws nothing.
    for (int i = 0; i < 50 && screen.questions() < asked + 5; ++i)
        feed.wait_for_frame(first.sequence, 20ms);
    EXPECT_GE(screen.questions(), asked + 5);
    EXPECT_EQ(screen.drawings(), drawn);
    {
        std::lock_guard guard(screen.lock);
        EXPECT_EQ(screen.since.back(), screen.generation) << "the feed asks with the generation it was given";
    }

    // A change that draws the same picture is drawn, but is no new frame.
    screen.touch();
    for (int i = 0; i < 50 && screen.drawings() == drawn; ++i)
        feed.wait_for_frame(first.sequence, 20ms);
    EXPECT_EQ(screen.drawings(), drawn + 1);
    EXPECT_EQ(feed.wait_for_frame(first.sequence, 50ms).sequence, first.sequence);
}

TEST_F(FrameFeedTest, AnotherHostAndAFailedFrameAreAskedForInFull) {
    Frame home = next_after(0);
    feed.show("messages");
    Frame messages = next_after(home.sequence);
    ASSERT_EQ(messages.role, "messages");
    {
        std::lock_guard guard(screen.lock);
        auto first_for_messages = std::find(screen.asked.begin(), screen.asked.end(), "messages");
        ASSERT_NE(first_for_messages, screen.asked.end());
        EXPECT_EQ(screen.since[first_for_messages - screen.asked.begin()], 0u)
            << "the home screen's generation means nothing to the Messages host";
    }

    {
        std::lock_guard guard(screen.lock);
        screen.error = "the host is gone";
    }
    Frame failed = next_after(messages.sequence);
    ASSERT_EQ(failed.error, "the host is gone");
    {
        std::lock_guard guard(screen.lock);
        screen.error.clear(); // back, with the screen it had: same picture, same generation
    }
    Frame back = next_after(failed.sequence);
    EXPECT_EQ(back.png, "picture-1:messages") << "a host that failed is drawn again in full";
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
