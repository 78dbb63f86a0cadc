// The system keyboard of a process: built when a text view becomes first responder, shown at
// the bottom of that view's window, removed and let go when the text view resigns.
#pragma once

#include "platform/uikit/UIWindow.h"
#include "platform/uikit/keyboard/UIKeyboardLayout.h"

namespace platform::uikit {

class Keyboard {
  public:
    static constexpr double kHeight = 260;
    static constexpr double kPredictionBarHeight = 44;
    static constexpr int kPredictionCells = 3;

    // A new keyboard of that width, made the way the system makes one: the layout through
    // initWithFrame:, prediction cells through initWithFrame:, and every key through
    // initWithFrame:keyplane:key:, all sent through the runtime.
    static Ref<UIKeyboardLayout> build(double width);

    // A keyboard already on screen is replaced by a new one.
    static void show_in(UIWindow* window);
    // Removes the keyboard from its window and lets it go; nothing happens without one.
    static void dismiss();
    static UIKeyboardLayout* on_screen();
    // How many keyboards have come up in this process.
    static uint64_t times_shown();
};

} // namespace platform::uikit
