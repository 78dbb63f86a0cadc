#include "platform/uikit/TouchTracker.h"

#include <cmath>

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "platform/uikit/keyboard/UIKeyboardLayout.h"
#include "platform/uikit/table/UITableView.h"
#include "platform/uikit/table/UITableViewCell.h"

namespace platform::uikit {

using namespace platform::runtime;
using foundation::NSIndexPath;

namespace {

// A view that takes text from the keyboard and can become first responder.
bool is_text_input(UIView* view) {
    return msg<bool>(view, "respondsToSelector:"_sel, "insertText:"_sel) &&
           msg<bool>(view, "respondsToSelector:"_sel, "becomeFirstResponder"_sel);
}

std::string title_of(const UIButton& button) {
    const std::string* title = foundation::string_of(button.titleForState(button.state()));
    return title ? *title : std::string();
}

UITableView* table_of(UIView* cell) {
    return cell ? dynamic_cast<UITableView*>(cell->superview()) : nullptr;
}

} // namespace

TouchTracker::TouchTracker(UIView* root) : root_(root) {}

TouchTracker::~TouchTracker() {
    cancelled();
}

TouchOutcome TouchTracker::outcome() const {
    TouchOutcome out;
    out.view = hit_.get();
    if (hit_)
        out.view_class = class_getName(hit_->isa());
    return out;
}

bool TouchTracker::in_tree(const UIView* view) const {
    for (const UIView* v = view; v; v = v->superview())
        if (v == root_.get())
            return true;
    return false;
}

bool TouchTracker::inside_with_slop(UIView* view, CGPoint point) const {
    if (!in_tree(view))
        return false; // taken off the screen under the finger
    const CGPoint local = view->convertPointFromView(point, root_.get());
    const CGRect b = view->bounds();
    return local.x >= b.origin.x - kControlSlop && local.y >= b.origin.y - kControlSlop &&
           local.x <= b.origin.x + b.size.width + kControlSlop &&
           local.y <= b.origin.y + b.size.height + kControlSlop;
}

void TouchTracker::reset() {
    phase_ = Phase::Idle;
    hit_ = nullptr;
    target_ = nullptr;
    moved_too_far_ = false;
}

TouchOutcome TouchTracker::began(CGPoint point) {
    if (tracking())
        cancelled();
    if (!root_)
        return {};
    hit_ = msg<Ref<UIView>>(root_, "hitTest:withEvent:"_sel, point, static_cast<Object*>(nullptr));
    start_ = point;
    phase_ = Phase::Plain;
    // The innermost view that handles touches takes this one: a control in a cell wins over the row.
    for (UIView* v = hit_.get(); v; v = v->superview()) {
        if (dynamic_cast<UIButton*>(v)) {
            phase_ = Phase::Control;
        } else if (dynamic_cast<UIKBBlurredKeyView*>(v) || dynamic_cast<UIKeyboardLayout*>(v)) {
            phase_ = Phase::Key;
        } else if (dynamic_cast<UITableViewCell*>(v) && table_of(v)) {
            phase_ = Phase::Row;
        } else if (is_text_input(v)) {
            phase_ = Phase::Text;
        } else {
            continue;
        }
        target_ = v;
        break;
    }
    TouchOutcome out = outcome();
    if (phase_ == Phase::Control) {
        auto* button = static_cast<UIButton*>(target_.get());
        if (button->isEnabled()) {
            button->setHighlighted(true);
            button->send_actions(UIControlEventTouchDown);
            out.fired = "highlight";
            out.detail = title_of(*button);
        }
    }
    return out;
}

TouchOutcome TouchTracker::moved(CGPoint point) {
    if (!tracking())
        return {};
    if (std::hypot(point.x - start_.x, point.y - start_.y) > kTapRadius)
        moved_too_far_ = true;
    TouchOutcome out = outcome();
    if (phase_ == Phase::Control) {
        auto* button = static_cast<UIButton*>(target_.get());
        if (button->isEnabled())
            button->setHighlighted(inside_with_slop(button, point));
    }
    return out;
}

TouchOutcome TouchTracker::ended(CGPoint point) {
    if (!tracking())
        return {};
    moved(point);
    TouchOutcome out = outcome();
    switch (phase_) {
    case Phase::Control: {
        Ref<UIButton> button(static_cast<UIButton*>(target_.get()));
        if (!button->isEnabled())
            break;
        const bool inside = inside_with_slop(button.get(), point);
        button->setHighlighted(false);
        out.detail = title_of(*button);
        out.fired = inside ? "action" : "outside";
        button->send_actions(inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside);
        break;
    }
    case Phase::Row: {
        UITableView* table = table_of(target_.get());
        const CGPoint local = target_->convertPointFromView(point, root_.get());
        if (moved_too_far_ || !table || !in_tree(target_.get()) ||
            !msg<bool>(target_, "pointInside:withEvent:"_sel, local, static_cast<Object*>(nullptr)))
            break;
        auto path = table->indexPathForCell(target_.get());
        auto* index_path = dynamic_cast<NSIndexPath*>(path.get());
        if (!index_path)
            break;
        const bool tells =
            msg<bool>(table->delegate(), "respondsToSelector:"_sel, "tableView:didSelectRowAtIndexPath:"_sel);
        table->select_row(index_path->row(), index_path->section());
        if (tells) {
            out.fired = "row";
            out.detail = std::to_string(index_path->section()) + "." + std::to_string(index_path->row());
        }
        break;
    }
    case Phase::Key: {
        // The key meant when the finger lifts types, as on the phone, where sliding along the
        // row changes the key and the gaps between keys belong to the nearest one.
        UIKeyboardLayout* keyboard = Keyboard::on_screen();
        if (!keyboard || !in_tree(keyboard))
            break;
        if (UIKBBlurredKeyView* key = Keyboard::key_at(keyboard->convertPointFromView(point, root_.get()))) {
            Ref<UIKBBlurredKeyView> held(key); // typing may take the keyboard down
            KeyOutcome typed = Keyboard::tap(*key);
            out.fired = typed.fired;
            out.detail = typed.detail;
        }
        break;
    }
    case Phase::Text: {
        const CGPoint local = target_->convertPointFromView(point, root_.get());
        if (moved_too_far_ || !in_tree(target_.get()) ||
            !msg<bool>(target_, "pointInside:withEvent:"_sel, local, static_cast<Object*>(nullptr)))
            break;
        if (msg<bool>(target_, "becomeFirstResponder"_sel)) {
            out.fired = "focus";
            out.detail = class_getName(target_->isa());
        }
        break;
    }
    case Phase::Plain:
    case Phase::Idle:
        break;
    }
    reset();
    return out;
}

void TouchTracker::cancelled() {
    if (phase_ == Phase::Control) {
        static_cast<UIButton*>(target_.get())->setHighlighted(false);
    }
    reset();
}

} // namespace platform::uikit
