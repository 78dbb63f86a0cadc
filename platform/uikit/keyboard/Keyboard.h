// The system keyboard of a process: built when a text view becomes first responder, shown at
// the bottom of that view's window, removed and let go when the text view resigns.
#pragma once

#include <string>
#include <string_view>

#include "platform/uikit/UIWindow.h"
#include "platform/uikit/keyboard/UIKeyboardLayout.h"

namespace platform::uikit {

class UIKBBlurredKeyView;

// The keys that are no character.
enum class Key { Backspace, Return, Shift };

// What a key did: fired is "key" (text went to the client, or shift toggled), "return" (the
// client decides what return means, the Messages host sends) or "" (no client, nothing typed);
// detail is the text typed, "delete", "shift" or "return".
struct KeyOutcome {
    std::string fired;
    std::string detail;
};

// The keyboard types into its client, the view that brought it up (the first responder), by
// sending it insertText: and deleteBackward through the runtime, as the system keyboard does.
// The key geometry lives in one place, Keyboard.cpp; each key is a UIKBBlurredKeyView whose key
// object is its text ("q", "space", "return", "⇧", "⌫", "123", "☺", "dictation"), so touches
// find keys by view.
class Keyboard {
  public:
    // 216 points of keys under the 44-point QuickType bar.
    static constexpr double kHeight = 260;
    static constexpr double kPredictionBarHeight = 44;
    // The key object of the dictation key, which shows a microphone instead of its text.
    static constexpr const char* kDictationKey = "dictation";
    static constexpr int kPredictionCells = 3;

    // A new keyboard of that width, made the way the system makes one: the layout through
    // initWithFrame:, prediction cells through initWithFrame:, and every key through
    // initWithFrame:keyplane:key:, all sent through the runtime.
    static Ref<UIKeyboardLayout> build(double width);

    // A keyboard already on screen is replaced by a new one. The client, held until dismiss,
    // gets what is typed.
    static void show_in(UIWindow* window, UIView* client = nullptr);
    // Removes the keyboard from its window and lets it and its client go; nothing happens
    // without one.
    static void dismiss();
    static UIView* client();

    // Types text into the client as it stands (shift does not apply); "" when there is none.
    // Text that is not valid UTF-8 is refused whole, with a detail saying so.
    static KeyOutcome type_text(std::string_view text);
    static KeyOutcome press_key(Key key);
    // What a tap on a key of the keyboard does: a letter types (capitalised once after shift),
    // space types a space, the other keys act as press_key; "123", emoji and dictation have
    // nothing behind them here.
    static KeyOutcome tap(const UIKBBlurredKeyView& key);
    // The key a finger at this point of the keyboard on screen (in its coordinates) means: the
    // key under it, else the nearest one, as the phone gives the gaps between keys to their
    // neighbours. Nil over the prediction bar, off the keyboard, or with no keyboard up.
    static UIKBBlurredKeyView* key_at(CGPoint point);
    // Shift is one-shot: the next letter is a capital, then the keyboard is lower-case again.
    static bool shifted();
    static UIKeyboardLayout* on_screen();
    // How many keyboards have come up in this process.
    static uint64_t times_shown();
};

} // namespace platform::uikit
