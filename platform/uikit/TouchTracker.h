// Touches: one finger at a time on a view tree, turned into what UIKit does with it.
#pragma once

#include <string>

#include "platform/uikit/UIView.h"

namespace platform::uikit {

// What one touch phase did, for the host's reply and for tests.
//   fired   what was delivered:
//           ""          nothing (a miss, a drag, a disabled button, a move)
//           "highlight" a button under the finger lit up (touch down; TouchDown actions sent)
//           "action"    a button took a touch-up inside (TouchUpInside actions sent)
//           "outside"   a button's touch ended outside it (TouchUpOutside actions sent)
//           "row"       a table row was selected (the table's delegate was told)
//           "key"       a keyboard key went to the first responder (a character, delete, shift)
//           "return"    the return key was tapped; the host decides what it means (send)
//           "focus"     a text view became first responder
//   detail  the button's title, the row as "section.row", the key's text ("a", "A", " ") or
//           "delete" / "shift", the focused view's class
struct TouchOutcome {
    UIView* view{nullptr};  // the view the touch is on (hit-tested at down)
    std::string view_class; // its runtime class name, "" when nothing was hit
    std::string fired;
    std::string detail;
};

// Follows one touch from down to up over the tree under a root view (the window), with points
// in the root's coordinates. At down the touch is hit-tested and given to the innermost of: a
// button, a keyboard key, a table cell, a text view; a button inside a cell takes the touch, not
// the row. Buttons highlight while the touch is inside them or within the slop around them and
// fire on up; a row is selected by a tap (down and up on it without moving further than the tap
// radius); a touch on the keyboard types at up, into the first responder, the key meant where
// the finger lifts (the one under it, or the nearest one in a gap between keys).
// A new down while a touch is tracked cancels the old one first. The tracker holds the views it
// tracks for the touch's duration, so a view that leaves the tree mid-touch stays safe to use.
class TouchTracker {
  public:
    // How far outside a button a touch still counts as inside it, as on the phone.
    static constexpr double kControlSlop = 70;
    // How far a touch may move and still be a tap on a row.
    static constexpr double kTapRadius = 10;

    explicit TouchTracker(UIView* root);
    ~TouchTracker();
    TouchTracker(const TouchTracker&) = delete;
    TouchTracker& operator=(const TouchTracker&) = delete;

    TouchOutcome began(CGPoint point);
    TouchOutcome moved(CGPoint point);
    TouchOutcome ended(CGPoint point);
    // A gesture took the touch over: the button is unhighlighted and nothing fires.
    void cancelled();
    bool tracking() const { return phase_ != Phase::Idle; }

  private:
    enum class Phase { Idle, Control, Row, Key, Text, Plain };

    TouchOutcome outcome() const;
    bool in_tree(const UIView* view) const;
    bool inside_with_slop(UIView* view, CGPoint point) const;
    void reset();

    Ref<UIView> root_;
    Phase phase_{Phase::Idle};
    Ref<UIView> hit_;    // what the hit test found at down
    Ref<UIView> target_; // the button, cell or text view that took the touch
    CGPoint start_;
    bool moved_too_far_{false};
};

} // namespace platform::uikit
