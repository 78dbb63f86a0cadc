// Pixels of the system's own drawn pieces: row separators, the circled clear button, the
// slide-to-unlock chevron and camera grabber, the Today | Notifications control, and a scrolled
// Notification Center list.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/NSString.h"
#include "platform/springboard/lockscreen/SBLockScreenBulletinCell.h"
#include "platform/springboard/lockscreen/SBLockScreenView.h"
#include "platform/springboard/nc/SBNotificationCenterHeaderView.h"
#include "platform/springboard/nc/SBNotificationCenterModeControl.h"
#include "platform/springboard/nc/SBNotificationCenterScrollView.h"
#include "render_support.h"

using namespace platform::springboard;
using namespace render_test;
using platform::foundation::CGRectMake;
using platform::runtime::Ref;
using platform::uikit::UIView;

namespace {

constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kGreen{0, 255, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};
// The hairline: white at 0.3 over black.
constexpr Rgba kSeparatorOnBlack{77, 77, 77, 255};
// The clear glyph's grey; the lock screen's chrome is white.
constexpr Rgba kGlyphGrey{217, 217, 217, 255};
constexpr Rgba kChromeOnBlack = kWhite;

struct Probe {
    double x, y;
    Rgba expected;
    int tolerance{2};
};

struct ChromeCase {
    std::string name;
    std::function<Ref<UIView>()> build;
    std::vector<Probe> probes;
};

Ref<UIView> black_root(double w, double h) {
    return make_view(CGRectMake(0, 0, w, h), rgba(0, 0, 0).get());
}

// A lock-screen row on black whose content is red, so that the separator under it shows apart.
Ref<UIView> lock_row() {
    auto root = black_root(375, SBLockScreenBulletinCell::kHeight);
    auto cell = make_view<SBLockScreenBulletinCell>(CGRectMake(0, 0, 375, SBLockScreenBulletinCell::kHeight),
                                                    nullptr, root.get());
    cell->contentView()->setBackgroundColor(rgba(1, 0, 0).get());
    root->layoutIfNeeded();
    return root;
}

Ref<UIView> clear_glyph() {
    auto root = black_root(24, 24);
    make_view<SBNotificationCenterClearGlyph>(CGRectMake(0, 0, 24, 24), nullptr, root.get());
    return root;
}

Ref<UIView> lock_screen() {
    auto root = black_root(375, 667);
    make_view<SBLockScreenView>(CGRectMake(0, 0, 375, 667), nullptr, root.get());
    root->layoutIfNeeded();
    return root;
}

Ref<UIView> mode_control() {
    using Mode = SBNotificationCenterModeControl;
    auto root = black_root(Mode::kWidth, Mode::kHeight);
    make_view<Mode>(CGRectMake(0, 0, Mode::kWidth, Mode::kHeight), nullptr, root.get());
    return root;
}

const std::vector<ChromeCase> kCases = {
    {"LockRowDrawsAHairlineUnderItsContentFromTheMarginOn",
     lock_row,
     {{100, SBLockScreenBulletinCell::kHeight - 0.25, kSeparatorOnBlack},
      {370, SBLockScreenBulletinCell::kHeight - 0.25, kSeparatorOnBlack},
      {5, SBLockScreenBulletinCell::kHeight - 0.25, kBlack},
      {100, SBLockScreenBulletinCell::kHeight - 0.75, kRed},
      {5, 5, kRed}}},
    {"ClearButtonIsARingWithAnXInside",
     clear_glyph,
     {{12 + 9.25, 12, kGlyphGrey, 24},
      {12, 12 - 9.25, kGlyphGrey, 24},
      {12, 12, kGlyphGrey, 24},
      {12 + 3, 12 + 3, kGlyphGrey, 24},
      {12, 12 - 6, kBlack},
      {12 + 6, 12, kBlack},
      {0.5, 0.5, kBlack}}},
    {"SelectedSegmentIsFilledAndTheOtherShowsWhatIsBehind",
     mode_control,
     {{SBNotificationCenterModeControl::kWidth * 0.75, 3, kWhite},
      {SBNotificationCenterModeControl::kWidth * 0.75 + 50, SBNotificationCenterModeControl::kHeight - 3,
       kWhite},
      {SBNotificationCenterModeControl::kWidth * 0.25, 3, kBlack},
      {SBNotificationCenterModeControl::kWidth * 0.25, 0.25, kWhite},
      {SBNotificationCenterModeControl::kWidth / 2 - 0.25, 3, kWhite}}},
};

class SystemChrome : public ::testing::TestWithParam<ChromeCase> {};

TEST_P(SystemChrome, DrawsWhereExpected) {
    const auto& c = GetParam();
    auto view = c.build();
    auto image = draw(*view);
    for (const auto& p : c.probes)
        EXPECT_TRUE(near(pixel_at(image, p.x, p.y), p.expected, p.tolerance))
            << "at (" << p.x << ", " << p.y << "): " << pixel_at(image, p.x, p.y) << " instead of "
            << p.expected;
}

INSTANTIATE_TEST_SUITE_P(Pieces, SystemChrome, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

// The chevron and camera are placed by the lock screen; probe them where it says they are.
TEST(LockScreenChrome, ChevronOpensLeftAndCameraShowsItsLens) {
    auto root = lock_screen();
    auto* lock = dynamic_cast<SBLockScreenView*>(root->subview_list().front().get());
    ASSERT_NE(lock, nullptr);
    const auto chrome = lock->chrome();
    EXPECT_LT(chrome.chevron.maxX(), 375.0 / 2) << "the chevron sits left of the centred text";
    EXPECT_GT(chrome.camera.minX(), 375.0 / 2) << "the camera grabber sits at the right";
    auto image = draw(*root);
    const auto& v = chrome.chevron;
    const auto& k = chrome.camera;
    const Probe probes[] = {
        {v.maxX() - 1, v.midY(), kChromeOnBlack, 30},                        // the tip
        {v.minX() + 1, v.minY() + 1, kChromeOnBlack, 30},                    // the upper arm's end
        {v.minX() + 1, v.midY(), kBlack, 2},                                 // open on the left
        {k.minX() + 2, k.maxY() - 2, kChromeOnBlack, 2},                     // the camera's body
        {k.midX(), k.minY() + k.size.height * 0.6, {102, 102, 102, 255}, 3}, // its lens
        {k.maxX() + 2, k.midY(), kBlack, 2},                                 // nothing right of it
    };
    for (const auto& p : probes)
        EXPECT_TRUE(near(pixel_at(image, p.x, p.y), p.expected, p.tolerance))
            << "at (" << p.x << ", " << p.y << "): " << pixel_at(image, p.x, p.y) << " instead of "
            << p.expected;
}

// The message follows the title with no blank line; a subtitle, when there is one, sits between.
TEST(LockScreenRow, MessageFollowsTheTitleAtOnce) {
    struct Case {
        const char* subtitle;
        double message_top;
    } cases[] = {{"", 30}, {"Lunch", 49}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("subtitle '") + c.subtitle + "'");
        auto bulletin = BBBulletin::make("com.apple.MobileSMS", "Anna", "See you at noon");
        bulletin->setSubtitle(platform::foundation::ns(c.subtitle).get());
        auto cell = UIView::create<SBLockScreenBulletinCell>(
            CGRectMake(0, 0, 375, SBLockScreenBulletinCell::kHeight));
        cell->configure(bulletin.get(), nullptr);
        cell->layoutIfNeeded();
        // The content's labels in order: title, subtitle, message.
        const auto& labels = cell->contentView()->subview_list();
        ASSERT_GE(labels.size(), 4u);
        const auto title = labels[1]->frame();
        const auto message = labels[3]->frame();
        EXPECT_DOUBLE_EQ(title.maxY(), 30);
        EXPECT_DOUBLE_EQ(message.minY(), c.message_top);
        EXPECT_LE(message.maxY(), SBLockScreenBulletinCell::kHeight) << "the message fits in the row";
    }
}

// Three bands of 100 points under a window of 100: the offset says which one shows.
TEST(NotificationCenterScrolling, OffsetMovesTheContentAndStopsAtBothEnds) {
    struct Step {
        double scroll_by;
        double offset;
        Rgba top, bottom; // at 10 and 90 points down the window
    };
    const Step steps[] = {
        {0, 0, kRed, kRed},       {150, 150, kGreen, kBlue}, {1000, 200, kBlue, kBlue},
        {-120, 80, kRed, kGreen}, {-500, 0, kRed, kRed},
    };
    auto root = black_root(100, 100);
    auto scroll = make_view<SBNotificationCenterScrollView>(CGRectMake(0, 0, 100, 100), nullptr, root.get());
    make_view(CGRectMake(0, 0, 100, 100), rgba(1, 0, 0).get(), scroll->contentView());
    make_view(CGRectMake(0, 100, 100, 100), rgba(0, 1, 0).get(), scroll->contentView());
    make_view(CGRectMake(0, 200, 100, 100), rgba(0, 0, 1).get(), scroll->contentView());
    scroll->setContentHeight(300);
    for (const auto& s : steps) {
        SCOPED_TRACE("scrolled by " + std::to_string(s.scroll_by));
        EXPECT_DOUBLE_EQ(scroll->scrollBy(s.scroll_by), s.offset);
        auto image = draw(*root);
        EXPECT_EQ(pixel_at(image, 50, 10), s.top);
        EXPECT_EQ(pixel_at(image, 50, 90), s.bottom);
    }
}

TEST(NotificationCenterScrolling, ContentShorterThanTheWindowDoesNotScroll) {
    auto scroll = UIView::create<SBNotificationCenterScrollView>(CGRectMake(0, 0, 100, 100));
    scroll->setContentHeight(60);
    EXPECT_DOUBLE_EQ(scroll->scrollBy(40), 0);
    scroll->setContentHeight(300);
    EXPECT_DOUBLE_EQ(scroll->scrollBy(250), 200);
    // Content that shrinks pulls the offset back within it.
    scroll->setContentHeight(150);
    EXPECT_DOUBLE_EQ(scroll->contentOffset(), 50);
}

} // namespace
