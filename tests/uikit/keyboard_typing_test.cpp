#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/NSString.h"
#include "platform/messages/CKInlineReplyViewController.h"
#include "platform/uikit/TouchTracker.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewDump.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "platform/uikit/keyboard/UIKeyboardLayout.h"

using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::CGRectMake;
using platform::foundation::string_of;
using platform::messages::CKInlineReplyViewController;
using platform::messages::CKMessageEntryTextView;

namespace {

// A reply open on a phone-sized window, its text view first responder and the keyboard up.
class KeyboardTyping : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = UIView::create<UIWindow>(CGRectMake(0, 0, 375, 667));
        reply_ = Ref<CKInlineReplyViewController>(dynamic_cast<CKInlineReplyViewController*>(
            class_createInstance(CKInlineReplyViewController::runtime_class()).get()));
        reply_->prepare(CGRectMake(0, 0, 375, 667 - Keyboard::kHeight), "Anna", "Lunch?");
        window_->addSubview(reply_->view());
        msg(reply_, "setupView"_sel);
        window_->layoutIfNeeded();
        tracker_.emplace(window_.get());
    }
    void TearDown() override {
        tracker_.reset();
        Keyboard::dismiss();
    }

    // Empties the text field and turns shift off, as between two tests.
    void clear() {
        while (!text_view()->text().empty())
            Keyboard::press_key(Key::Backspace);
        if (Keyboard::shifted())
            Keyboard::press_key(Key::Shift);
    }

    CKMessageEntryTextView* text_view() { return reply_->entryView()->contentView()->textView(); }

    UIKBBlurredKeyView* key_view(const std::string& key) {
        UIKeyboardLayout* layout = Keyboard::on_screen();
        if (!layout)
            return nullptr;
        for (const auto& view : layout->subview_list())
            if (auto* k = dynamic_cast<UIKBBlurredKeyView*>(view.get()))
                if (const std::string* text = string_of(k->key()); text && *text == key)
                    return k;
        return nullptr;
    }

    // The centre of a key in window coordinates.
    CGPoint centre_of(const std::string& key) {
        UIKBBlurredKeyView* view = key_view(key);
        EXPECT_NE(view, nullptr) << "no key " << key;
        if (!view)
            return {-1, -1};
        const CGRect b = view->bounds();
        return view->convertPointToView({b.size.width / 2, b.size.height / 2}, nullptr);
    }

    TouchOutcome tap_key(const std::string& key) {
        const CGPoint at = centre_of(key);
        tracker_->began(at);
        return tracker_->ended(at);
    }

    Ref<UIWindow> window_;
    Ref<CKInlineReplyViewController> reply_;
    std::optional<TouchTracker> tracker_;
};

using KeyboardTouches = KeyboardTyping;

} // namespace

TEST_F(KeyboardTouches, KeyTapsTypeIntoTheFirstResponder) {
    struct Case {
        const char* name;
        std::vector<std::string> keys;
        std::string text;
        const char* last_fired;
        const char* last_detail;
    };
    const std::vector<Case> cases = {
        {"letters", {"h", "i"}, "hi", "key", "i"},
        {"shift capitalises one letter", {"⇧", "h", "i"}, "Hi", "key", "i"},
        {"shift pressed twice is off again", {"⇧", "⇧", "h"}, "h", "key", "h"},
        {"space", {"a", "space", "b"}, "a b", "key", "b"},
        {"delete removes the last character", {"a", "b", "⌫"}, "a", "key", "delete"},
        {"delete on empty text changes nothing", {"⌫"}, "", "key", "delete"},
        {"return types nothing and is left to the host", {"o", "k", "return"}, "ok", "return", "return"},
        {"the numbers key types nothing", {"a", "123"}, "a", "", ""},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        clear();
        ASSERT_TRUE(text_view()->isFirstResponder());
        ASSERT_EQ(Keyboard::client(), text_view());
        TouchOutcome out;
        for (const auto& key : tc.keys)
            out = tap_key(key);
        EXPECT_EQ(text_view()->text(), tc.text);
        EXPECT_EQ(out.fired, tc.last_fired);
        EXPECT_EQ(out.detail, tc.last_detail);
        EXPECT_EQ(out.view_class, "_UIBackdropView") << "the key's backdrop is what the finger lands on";
        EXPECT_EQ(dump_view(text_view())["text"], tc.text) << "the dump shows the text";
        EXPECT_FALSE(Keyboard::shifted());
    }
}

TEST_F(KeyboardTouches, ShiftShowsCapitalsUntilTheNextLetter) {
    UIKBBlurredKeyView* q = key_view("q");
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(*string_of(q->label()->text()), "q");
    tap_key("⇧");
    EXPECT_TRUE(Keyboard::shifted());
    EXPECT_EQ(*string_of(q->label()->text()), "Q");
    EXPECT_EQ(*string_of(key_view("space")->label()->text()), "space") << "only letters change";
    tap_key("w");
    EXPECT_FALSE(Keyboard::shifted());
    EXPECT_EQ(*string_of(q->label()->text()), "q");
    EXPECT_EQ(text_view()->text(), "W");
}

TEST_F(KeyboardTouches, TheKeyUnderTheFingerWhenItLiftsIsTyped) {
    tracker_->began(centre_of("q"));
    tracker_->moved(centre_of("w"));
    TouchOutcome out = tracker_->ended(centre_of("e"));
    EXPECT_EQ(out.fired, "key");
    EXPECT_EQ(out.detail, "e");
    EXPECT_EQ(text_view()->text(), "e");

    // A gap between keys belongs to the nearest key; over the prediction bar, or slid off the
    // keyboard, nothing is typed.
    const CGPoint q = centre_of("q");
    tracker_->began(q);
    EXPECT_EQ(tracker_->ended({q.x, q.y + 24}).detail, "q") << "just below q, above a";
    const CGPoint space = centre_of("space");
    tracker_->began({space.x, space.y - 24});
    EXPECT_EQ(tracker_->ended({space.x, space.y - 24}).detail, " ") << "a touch in the gap itself";
    tracker_->began(q);
    EXPECT_EQ(tracker_->ended({q.x, q.y - 40}).fired, "") << "the prediction bar";
    tracker_->began(q);
    EXPECT_EQ(tracker_->ended({q.x, q.y - 120}).fired, "") << "off the keyboard";
    EXPECT_EQ(text_view()->text(), "eq ");

    tracker_->began(q);
    tracker_->cancelled();
    EXPECT_EQ(tracker_->ended(q).fired, "") << "a cancelled key press types nothing";
    EXPECT_EQ(text_view()->text(), "eq ");
}

TEST_F(KeyboardTouches, TypingEnablesTheSendButtonAndTappingTheFieldFocusesIt) {
    UIButton* send = reply_->entryView()->sendButton();
    EXPECT_FALSE(send->isEnabled());
    tap_key("y");
    EXPECT_TRUE(send->isEnabled()) << "the controller hears each keystroke";
    tap_key("⌫");
    EXPECT_FALSE(send->isEnabled());

    text_view()->resignFirstResponder();
    EXPECT_EQ(Keyboard::on_screen(), nullptr);
    EXPECT_EQ(Keyboard::client(), nullptr);
    const CGRect b = text_view()->bounds();
    const CGPoint field = text_view()->convertPointToView({b.size.width / 2, b.size.height / 2}, nullptr);
    tracker_->began(field);
    TouchOutcome out = tracker_->ended(field);
    EXPECT_EQ(out.fired, "focus");
    EXPECT_EQ(out.detail, "CKMessageEntryTextView");
    EXPECT_TRUE(text_view()->isFirstResponder());
    EXPECT_NE(Keyboard::on_screen(), nullptr);
}

TEST_F(KeyboardTyping, TextAndKeysCanBeSentWithoutTouches) {
    EXPECT_EQ(Keyboard::type_text("Café ").fired, "key");
    EXPECT_EQ(Keyboard::type_text("😀").detail, "😀");
    EXPECT_EQ(text_view()->text(), "Café 😀");
    struct Step {
        Key key;
        const char* fired;
        std::string text_after;
    };
    const std::vector<Step> steps = {
        {Key::Backspace, "key", "Café "}, // the four bytes of the emoji go at once
        {Key::Backspace, "key", "Café"},
        {Key::Backspace, "key", "Caf"}, // and both bytes of é
        {Key::Return, "return", "Caf"},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(Keyboard::press_key(step.key).fired, step.fired);
        EXPECT_EQ(text_view()->text(), step.text_after);
    }
    EXPECT_TRUE(reply_->entryView()->sendButton()->isEnabled());

    EXPECT_EQ(Keyboard::type_text("").fired, "") << "empty text is no keystroke";
    for (const char* broken : {"a\xC3", "\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFFx"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(broken)));
        KeyOutcome refused = Keyboard::type_text(broken);
        EXPECT_EQ(refused.fired, "");
        EXPECT_EQ(refused.detail, "refused: the text is not valid UTF-8");
        EXPECT_EQ(text_view()->text(), "Caf") << "nothing of it is typed";
    }
    Keyboard::dismiss();
    EXPECT_EQ(Keyboard::type_text("x").fired, "") << "without a keyboard there is no one to type into";
    EXPECT_EQ(Keyboard::press_key(Key::Backspace).fired, "");
    EXPECT_EQ(text_view()->text(), "Caf");
}
