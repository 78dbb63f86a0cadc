// Touches, keys and the hardware buttons on real host processes: what each input does to the
// host's state (its dump), what it answers, and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <set>

#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

using namespace zimtone::testing;
using nlohmann::json;

// A sample device with a host of the role on the virtual clock.
class TouchHost {
  public:
    explicit TouchHost(const std::string& role) {
        std::string command = (build_bin_dir() / "zimtone").string() + " --root " + device_.root().string() +
                              " device init > /dev/null";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "cannot set up the sample device: " << command;
        host_ = std::make_unique<HostUnderTest>(role, device_.root(), /*virtual_clock*/ true);
    }

    json run(const std::string& line) {
        json answer = host_->command(line);
        EXPECT_TRUE(answer.value("ok", false)) << line << ": " << answer.dump();
        return answer;
    }
    json ask(const std::string& line) { return host_->command(line); }
    json drag(double x0, double y0, double x1, double y1) {
        run("touch down " + std::to_string(x0) + " " + std::to_string(y0));
        run("touch move " + std::to_string((x0 + x1) / 2) + " " + std::to_string((y0 + y1) / 2));
        return run("touch up " + std::to_string(x1) + " " + std::to_string(y1));
    }
    json tap(double x, double y) { return drag(x, y, x, y); }
    json screen() { return run("dump")["screen"]; }

  private:
    TempDevice device_;
    std::unique_ptr<HostUnderTest> host_;
};

struct Placed {
    double x, y, width, height;
    double mid_x() const { return x + width / 2; }
    double mid_y() const { return y + height / 2; }
};

// The visible views of the class in a dump with their rectangles in screen points; a hidden view
// hides its subviews.
std::vector<Placed> placed(const json& view, const std::string& class_name, double x = 0, double y = 0,
                           std::vector<Placed> found = {}) {
    if (view.value("hidden", false))
        return found;
    const json& frame = view["frame"];
    Placed at{x + frame[0].get<double>(), y + frame[1].get<double>(), frame[2].get<double>(),
              frame[3].get<double>()};
    if (view.value("class", "") == class_name)
        found.push_back(at);
    for (const auto& sub : view.value("subviews", json::array()))
        found = placed(sub, class_name, at.x, at.y, std::move(found));
    return found;
}

// The keys of one row of the keyboard, left to right; row 0 is the top one.
std::vector<Placed> key_row(const json& screen, size_t row) {
    auto keys = placed(screen, "UIKBBlurredKeyView");
    std::set<double> tops;
    for (const auto& key : keys)
        tops.insert(key.y);
    if (row >= tops.size())
        return {};
    double top = *std::next(tops.begin(), static_cast<long>(row));
    std::vector<Placed> found;
    for (const auto& key : keys)
        if (key.y == top)
            found.push_back(key);
    std::sort(found.begin(), found.end(), [](const Placed& a, const Placed& b) { return a.x < b.x; });
    return found;
}

std::vector<json> views_of(const json& tree, const std::string& class_name, std::vector<json> found = {}) {
    if (tree.value("class", "") == class_name)
        found.push_back(tree);
    for (const auto& sub : tree.value("subviews", json::array()))
        found = views_of(sub, class_name, std::move(found));
    return found;
}

TEST(TouchInput, BadTouchesAndKeysAreRefusedWithAReason) {
    TouchHost home("springboard");
    const std::string touch_usage =
        "touch takes a phase (down, move or up) and the point's x and y in screen points";
    const std::string off =
        "touch x and y must be numbers of screen points within 40 of the screen (375 x 667)";
    struct Case {
        std::string line;
        std::string error;
    };
    const Case cases[] = {
        {"touch", touch_usage},
        {"touch down 1", touch_usage},
        {"touch down 1 2 3", touch_usage},
        {"touch hover 1 2", "touch phase must be down, move or up"},
        {"touch down nan 2", off},
        {"touch down inf 2", off},
        {"touch down 1e999 2", off},
        {"touch down 2 -40.5", off},
        {"touch down 415.5 2", off},
        {"touch down 2 707.5", off},
        {"touch down 2px 2", off},
        {"touch down \"\" 2", off},
        {"key", "key takes one text, backspace or enter"},
        {"key a b", "key takes one text, backspace or enter"},
        {"key \"\"", "key takes one text, backspace or enter"},
        {"key \"" + std::string(65, 'x') + "\"", "key text is longer than 64 bytes"},
        {"key \"a\tb\"", "key text holds a control character; use backspace or enter"},
        {"home now", "home takes no arguments"},
        {"sleep 5", "sleep takes no arguments"},
    };
    for (const auto& c : cases) {
        json answer = home.ask(c.line);
        EXPECT_FALSE(answer.value("ok", true)) << c.line;
        EXPECT_EQ(answer.value("error", ""), c.error) << c.line;
    }
    // The edges themselves and a little past them are touches.
    EXPECT_EQ(home.tap(-40, 707)["nothing"], true);
    EXPECT_EQ(home.tap(415, -40)["nothing"], true);
    // A move or an up without a down changes nothing, and says so.
    EXPECT_EQ(home.run("touch move 10 10")["nothing"], true);
    EXPECT_EQ(home.run("touch up 10 10")["nothing"], true);
    // The home screen has no text field: a key does nothing.
    EXPECT_EQ(home.run("key a")["nothing"], true);
}

TEST(TouchInput, NotificationCenterOpensFromTheTopEdgeAndClosesWithASwipeUp) {
    TouchHost home("springboard");
    EXPECT_EQ(home.drag(180, 5, 180, 300)["gesture"], "nc-open");
    EXPECT_EQ(home.screen()["phone"]["notificationCenter"], true);
    EXPECT_EQ(home.drag(180, 500, 180, 100)["gesture"], "nc-close");
    EXPECT_EQ(home.screen()["phone"]["notificationCenter"], false);
    json none = home.drag(180, 200, 180, 600);
    EXPECT_FALSE(none.contains("gesture")) << none.dump();
    EXPECT_EQ(home.screen()["phone"]["notificationCenter"], false);
}

TEST(TouchInput, ABannerShowsItsActionsOnlyPulledDownAndThenStays) {
    TouchHost home("springboard");
    home.run("bulletin com.apple.MobileSMS \"Anna\" \"Lunch at \\\"noon\\\"?\"");
    auto buttons = views_of(home.screen(), "SBBannerButtonView");
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0]["hidden"], true) << "no actions before the pull";
    EXPECT_EQ(views_of(home.screen(), "SBBannerContextView")[0]["frame"][3], 76);

    json pulled = home.drag(180, 40, 180, 100);
    EXPECT_EQ(pulled["gesture"], "banner-pull-down");
    EXPECT_EQ(pulled["actions"], json({"Reply", "Mark as Read"}));
    EXPECT_EQ(views_of(home.screen(), "SBBannerButtonView")[0]["hidden"], false);
    EXPECT_EQ(views_of(home.screen(), "SBBannerContextView")[0]["frame"][3], 120);
    // A pulled-down banner waits for the person instead of timing out.
    home.run("advance 30");
    EXPECT_EQ(home.screen()["phone"]["banner"]["pulledDown"], true);

    auto actions = placed(home.screen(), "SBNotificationVibrantButton");
    ASSERT_EQ(actions.size(), 2u);
    json reply = home.tap(actions[0].mid_x(), actions[0].mid_y());
    EXPECT_EQ(reply["gesture"], "banner-action");
    EXPECT_EQ(reply["action"], "Reply");
    EXPECT_EQ(reply["follow"],
              json({{"role", "messages"}, {"command", "reply \"Anna\" \"Lunch at \\\"noon\\\"?\""}}));
    EXPECT_EQ(reply["show"], "messages");
    EXPECT_EQ(home.screen()["phone"]["banner"], nullptr);
}

TEST(TouchInput, BannersGoWhenSwipedUpAndOpenTheirAppWhenTapped) {
    TouchHost home("springboard");
    struct Case {
        const char* name;
        double x0, y0, x1, y1;
        const char* gesture;
        json opened;
    };
    const Case cases[] = {
        {"swipe up", 180, 60, 180, 10, "banner-dismiss", nullptr},
        {"tap", 180, 30, 182, 31, "banner-open", "com.apple.mobilenotes"},
    };
    for (const auto& c : cases) {
        home.run("bulletin com.apple.mobilenotes \"Notes\" \"Milk\"");
        json answer = home.drag(c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(answer["gesture"], c.gesture) << c.name;
        json phone = home.screen()["phone"];
        EXPECT_EQ(phone["banner"], nullptr) << c.name;
        EXPECT_EQ(phone["opened"], c.opened) << c.name;
    }
    // A banner not pulled down still leaves after its time.
    home.run("bulletin com.apple.mobilenotes \"Notes\" \"Eggs\"");
    home.run("advance 6");
    EXPECT_EQ(home.screen()["phone"]["banner"], nullptr);
}

TEST(TouchInput, SleepDarkensAndLocksHomeWakesAndTheLockScreenUnlocksBySlideOrNotification) {
    TouchHost home("springboard");
    home.drag(180, 5, 180, 300);
    json slept = home.run("sleep");
    EXPECT_EQ(slept["asleep"], true);
    json screen = home.screen();
    EXPECT_EQ(screen["phone"]["asleep"], true);
    EXPECT_EQ(screen["phone"]["locked"], true);
    EXPECT_EQ(screen["phone"]["notificationCenter"], false) << "sleep puts Notification Center away";
    const json& top = screen["subviews"].back();
    EXPECT_EQ(top["background"], json({0, 0, 0, 1})) << "the dark screen covers everything";
    EXPECT_EQ(top["frame"], json({0, 0, 375, 667}));
    // A dark screen takes no touches and no keys.
    EXPECT_EQ(home.run("touch down 40 600")["asleep"], true);
    EXPECT_EQ(home.drag(40, 600, 330, 600)["nothing"], true);
    EXPECT_EQ(home.screen()["phone"]["locked"], true);

    EXPECT_EQ(home.run("home")["asleep"], false);
    // A touch the screen went dark under ends with nothing done.
    home.run("touch down 40 600");
    home.run("sleep");
    EXPECT_EQ(home.run("touch up 330 600")["asleep"], true);
    EXPECT_EQ(home.run("home")["asleep"], false);
    screen = home.screen();
    EXPECT_EQ(screen["phone"]["asleep"], false);
    EXPECT_EQ(screen["phone"]["locked"], true);
    EXPECT_NE(screen["subviews"].back()["background"], json({0, 0, 0, 1}));
    EXPECT_EQ(home.run("home")["nothing"], true) << "Home on the awake lock screen";

    EXPECT_FALSE(home.drag(40, 600, 200, 600).contains("gesture")) << "short of half the width";
    EXPECT_EQ(home.drag(40, 600, 330, 610)["gesture"], "unlock");
    EXPECT_EQ(home.screen()["phone"]["locked"], false);

    home.run("lock");
    home.run("bulletin com.apple.mobilemail \"Mail\" \"Invoice\"");
    auto cells = placed(home.screen(), "SBLockScreenBulletinCell");
    ASSERT_EQ(cells.size(), 1u);
    json opened = home.tap(cells[0].mid_x(), cells[0].mid_y());
    EXPECT_EQ(opened["gesture"], "lockscreen-open") << opened.dump();
    EXPECT_EQ(opened["opened"], "com.apple.mobilemail");
    EXPECT_EQ(home.screen()["phone"]["locked"], false);

    // Sleep/Wake twice: dark, then the lock screen again.
    home.run("sleep");
    json woke = home.run("sleep");
    EXPECT_EQ(woke["asleep"], false);
    EXPECT_EQ(woke["locked"], true);

    // A notification wakes a sleeping phone to its lock screen.
    home.run("sleep");
    home.run("bulletin com.apple.mobilemail \"Mail\" \"Receipt\"");
    screen = home.screen();
    EXPECT_EQ(screen["phone"]["asleep"], false);
    EXPECT_EQ(screen["phone"]["locked"], true);
    EXPECT_EQ(views_of(screen, "SBLockScreenBulletinCell").size(), 1u) << "the new one, on a fresh list";
}

TEST(TouchInput, KeysWriteTheReplyAndSendOrHomeClosesIt) {
    TouchHost messages("messages");
    EXPECT_EQ(messages.run("key a")["nothing"], true) << "no reply open";
    messages.run("reply \"Ben\" \"Late?\"");
    struct Step {
        std::string line;
        std::string text;
    };
    const Step steps[] = {
        {"key H", "H"},    {"key i", "Hi"},          {"key \" \"", "Hi "},
        {"key é", "Hi é"}, {"key backspace", "Hi "}, {"key backspace", "Hi"},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(messages.run(step.line)["text"], step.text) << step.line;
        EXPECT_EQ(messages.screen()["messages"]["text"], step.text) << step.line;
    }
    json sent = messages.run("key enter");
    EXPECT_EQ(sent["sent"], "Hi");
    EXPECT_EQ(sent["show"], "springboard");
    json state = messages.screen()["messages"];
    EXPECT_EQ(state["replyOpen"], false);
    EXPECT_EQ(state["sent"], json({"Hi"}));

    // Enter on an empty reply sends nothing; Home closes the reply unsent.
    messages.run("reply \"Ben\" \"Late?\"");
    EXPECT_EQ(messages.run("key enter")["nothing"], true);
    EXPECT_EQ(messages.screen()["messages"]["replyOpen"], true);
    messages.run("key x");
    json closed = messages.run("home");
    EXPECT_EQ(closed["show"], "springboard");
    state = messages.screen()["messages"];
    EXPECT_EQ(state["replyOpen"], false);
    EXPECT_EQ(state["sent"], json({"Hi"}));
    EXPECT_EQ(messages.run("home")["nothing"], true);
}

TEST(TouchInput, TappedKeysTypeAndTheSendButtonPostsTheReply) {
    TouchHost messages("messages");
    messages.run("reply \"Ben\" \"Late?\"");
    json screen = messages.screen();
    // The send button sits at the right end of the entry row.
    auto entry = placed(screen, "CKMessageEntryView");
    ASSERT_EQ(entry.size(), 1u);
    const double send_x = entry[0].x + entry[0].width - 30, send_y = entry[0].mid_y();
    // The send button is disabled while the reply is empty: a tap fires nothing.
    json early = messages.tap(send_x, send_y);
    EXPECT_FALSE(early.contains("sent")) << early.dump();
    // q w e r t y u i o p on the top row, a s d f g h j k l below it.
    auto top = key_row(screen, 0), middle = key_row(screen, 1);
    ASSERT_GE(top.size(), 10u);
    ASSERT_GE(middle.size(), 9u);
    json h = messages.tap(middle[5].mid_x(), middle[5].mid_y());
    EXPECT_EQ(h["fired"], "key");
    EXPECT_EQ(h["detail"], "h");
    messages.tap(top[7].mid_x(), top[7].mid_y());
    EXPECT_EQ(messages.screen()["messages"]["text"], "hi");
    json sent = messages.tap(send_x, send_y);
    EXPECT_EQ(sent["fired"], "action");
    EXPECT_EQ(sent["sent"], "hi");
    EXPECT_EQ(sent["show"], "springboard");
    EXPECT_EQ(messages.screen()["messages"]["replyOpen"], false);
}

} // namespace
