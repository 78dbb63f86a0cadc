// Touches, keys and the hardware buttons on real host processes: what each input does to the
// host's state (its dump), what it answers, and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
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

// The visible views in a dump that pass the test, with their rectangles in screen points; a
// hidden view hides its subviews.
std::vector<Placed> placed_where(const json& view, const std::function<bool(const json&)>& test, double x = 0,
                                 double y = 0, std::vector<Placed> found = {}) {
    if (view.value("hidden", false))
        return found;
    const json& frame = view["frame"];
    Placed at{x + frame[0].get<double>(), y + frame[1].get<double>(), frame[2].get<double>(),
              frame[3].get<double>()};
    if (test(view))
        found.push_back(at);
    for (const auto& sub : view.value("subviews", json::array()))
        found = placed_where(sub, test, at.x, at.y, std::move(found));
    return found;
}

std::vector<Placed> placed(const json& view, const std::string& class_name) {
    return placed_where(view, [&](const json& v) { return v.value("class", "") == class_name; });
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

TEST(TouchInput, ATappedNotificationCenterRowOpensItsAppWhileHeadersAndDragsDoWhatTheyDid) {
    TouchHost home("springboard");
    home.run("bulletin com.apple.mobilemail \"Mail\" \"Invoice\"");
    home.run("bulletin com.apple.mobilenotes \"Notes\" \"Milk\"");
    while (home.ask("dismiss").value("ok", false)) {
    }
    auto open_nc = [&] {
        EXPECT_EQ(home.drag(180, 5, 180, 300)["gesture"], "nc-open");
        auto rows = placed(home.screen(), "SBNotificationsBulletinCell");
        std::sort(rows.begin(), rows.end(), [](const Placed& a, const Placed& b) { return a.y < b.y; });
        return rows;
    };
    auto rows = open_nc();
    ASSERT_EQ(rows.size(), 2u);
    // Today's header, then one per app.
    auto headers = placed(home.screen(), "SBNotificationCenterHeaderView");
    ASSERT_EQ(headers.size(), 3u);
    std::sort(headers.begin(), headers.end(), [](const Placed& a, const Placed& b) { return a.y < b.y; });
    auto clear_buttons = placed(home.screen(), "SBNotificationCenterClearGlyph");
    ASSERT_FALSE(clear_buttons.empty());

    // What the views under them do with these touches is what they did before rows took taps.
    struct Case {
        const char* name;
        double x0, y0, x1, y1;
    };
    const Case untouched[] = {
        {"Mail's header", headers[2].mid_x(), headers[2].mid_y(), headers[2].mid_x(), headers[2].mid_y()},
        {"a clear button", clear_buttons[0].mid_x(), clear_buttons[0].mid_y(), clear_buttons[0].mid_x(),
         clear_buttons[0].mid_y()},
        {"a drag down a row", rows[0].mid_x(), rows[0].mid_y(), rows[0].mid_x(), rows[0].mid_y() + 40},
    };
    for (const auto& c : untouched) {
        json answer = home.drag(c.x0, c.y0, c.x1, c.y1);
        EXPECT_FALSE(answer.contains("gesture")) << c.name << ": " << answer.dump();
        json phone = home.screen()["phone"];
        EXPECT_EQ(phone["notificationCenter"], true) << c.name;
        EXPECT_EQ(phone["opened"], nullptr) << c.name;
        EXPECT_EQ(placed(home.screen(), "SBNotificationsBulletinCell").size(), 2u) << c.name;
    }

    // Newest app first: Notes above Mail; the second row is Mail's.
    json opened = home.tap(rows[1].mid_x(), rows[1].mid_y());
    EXPECT_EQ(opened["gesture"], "nc-row-open") << opened.dump();
    EXPECT_EQ(opened["opened"], "com.apple.mobilemail");
    json phone = home.screen()["phone"];
    EXPECT_EQ(phone["notificationCenter"], false);
    EXPECT_EQ(phone["opened"], "com.apple.mobilemail");

    rows = open_nc();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(home.tap(rows[0].x + 1, rows[0].y)["opened"], "com.apple.mobilenotes") << "the row's top edge";
    EXPECT_EQ(home.screen()["phone"]["notificationCenter"], false);
    // A row scrolled half under the mode control can be tapped only where it still shows.
    for (int i = 0; i < 12; ++i)
        home.run("bulletin com.apple.mobilemail \"Mail\" \"Statement " + std::to_string(i) + "\"");
    while (home.ask("dismiss").value("ok", false)) {
    }
    rows = open_nc();
    auto window = placed(home.screen(), "SBNotificationCenterScrollView");
    ASSERT_EQ(window.size(), 1u);
    const Placed first = rows[0];
    const double offset = first.y - window[0].y + first.height * 3 / 4;
    EXPECT_EQ(home.run("nc scroll " + std::to_string(offset))["offset"], offset);
    const double scrolled_mid = first.mid_y() - offset;
    ASSERT_LT(scrolled_mid, window[0].y);
    json above = home.tap(first.mid_x(), scrolled_mid);
    EXPECT_FALSE(above.contains("gesture")) << above.dump();
    EXPECT_EQ(home.screen()["phone"]["notificationCenter"], true);
    EXPECT_EQ(home.tap(first.mid_x(), window[0].y + 2)["gesture"], "nc-row-open") << "its part still showing";
    EXPECT_EQ(home.screen()["phone"]["notificationCenter"], false);

    // A swipe up that starts on a row still closes Notification Center, opening nothing new.
    open_nc();
    home.run("bulletin com.apple.MobileSMS \"Anna\" \"Lunch?\"");
    EXPECT_EQ(home.drag(180, 400, 180, 100)["gesture"], "nc-close");
    EXPECT_EQ(home.screen()["phone"]["opened"], "com.apple.mobilemail");
}

// The views of the home screen a person could see: its icons (they carry their app) and the
// status bar's labels.
struct HomeShown {
    size_t icons{0};
    bool clock{false};
    bool carrier{false};
    bool bar_over_lock_screen{false};
};

std::string text_of(const json& view) {
    auto it = view.find("text");
    return it != view.end() && it->is_string() ? it->get<std::string>() : std::string();
}

bool shows_carrier(const json& view) {
    return text_of(view).find("Carrier") != std::string::npos;
}

HomeShown home_shown(const json& screen) {
    HomeShown shown;
    shown.icons = placed_where(screen, [](const json& v) { return v.contains("app"); }).size();
    auto in_status_bar = [](const Placed& p) { return p.y < 20 && p.height <= 20; };
    auto clocks = placed_where(screen, [](const json& v) { return text_of(v).starts_with("9:41"); });
    shown.clock = std::any_of(clocks.begin(), clocks.end(), in_status_bar);
    auto carriers = placed_where(screen, shows_carrier);
    shown.carrier = std::any_of(carriers.begin(), carriers.end(), in_status_bar);
    // The screen's own subviews in drawing order: the status bar comes after the lock screen.
    bool lock_screen_seen = false;
    for (const auto& sub : screen["subviews"]) {
        if (sub.value("class", "") == "SBLockScreenView")
            lock_screen_seen = true;
        else if (lock_screen_seen && !placed_where(sub, shows_carrier).empty())
            shown.bar_over_lock_screen = true;
    }
    return shown;
}

TEST(TouchInput, TheLockScreenShowsNoHomeScreenBehindItAndUnlockingBringsItBack) {
    TouchHost home("springboard");
    struct Way {
        const char* name;
        std::function<void()> lock, unlock;
    };
    const Way ways[] = {
        {"lock and unlock commands", [&] { home.run("lock"); }, [&] { home.run("unlock"); }},
        {"Sleep/Wake, Home, then a slide",
         [&] {
             home.run("sleep");
             home.run("home");
         },
         [&] { EXPECT_EQ(home.drag(40, 600, 330, 600)["gesture"], "unlock"); }},
        {"a lock-screen notification tapped",
         [&] {
             home.run("lock");
             home.run("bulletin com.apple.mobilemail \"Mail\" \"Invoice\"");
         },
         [&] {
             auto cells = placed(home.screen(), "SBLockScreenBulletinCell");
             ASSERT_EQ(cells.size(), 1u);
             EXPECT_EQ(home.tap(cells[0].mid_x(), cells[0].mid_y())["gesture"], "lockscreen-open");
         }},
    };
    const HomeShown before = home_shown(home.screen());
    ASSERT_GT(before.icons, 8u);
    EXPECT_TRUE(before.clock);
    EXPECT_TRUE(before.carrier);
    EXPECT_FALSE(before.bar_over_lock_screen);
    for (const auto& way : ways) {
        way.lock();
        json screen = home.screen();
        ASSERT_EQ(screen["phone"]["locked"], true) << way.name;
        HomeShown locked = home_shown(screen);
        EXPECT_EQ(locked.icons, 0u) << way.name;
        EXPECT_FALSE(locked.clock) << way.name << ": the lock screen's own clock tells the time";
        EXPECT_TRUE(locked.carrier) << way.name;
        EXPECT_TRUE(locked.bar_over_lock_screen) << way.name;

        way.unlock();
        screen = home.screen();
        ASSERT_EQ(screen["phone"]["locked"], false) << way.name;
        HomeShown unlocked = home_shown(screen);
        EXPECT_EQ(unlocked.icons, before.icons) << way.name;
        EXPECT_TRUE(unlocked.clock) << way.name;
        EXPECT_TRUE(unlocked.carrier) << way.name;
        EXPECT_FALSE(unlocked.bar_over_lock_screen) << way.name;
    }
    // Once unlocked, the icons take taps again: one posts a banner.
    auto icons = placed_where(home.screen(), [](const json& v) { return v.contains("app"); });
    ASSERT_FALSE(icons.empty());
    home.tap(icons[0].mid_x(), icons[0].mid_y());
    EXPECT_NE(home.screen()["phone"]["banner"], nullptr);
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
