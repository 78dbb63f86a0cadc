#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/TouchTracker.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewDump.h"
#include "platform/uikit/table/UITableView.h"
#include "platform/uikit/table/UITableViewCell.h"

using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::CGRectMake;
using platform::foundation::ns;
using platform::foundation::NSIndexPath;

namespace {

Ref<UIWindow> phone_window() {
    return UIView::create<UIWindow>(CGRectMake(0, 0, 375, 667));
}

UIView* hit(UIView* root, CGPoint point) {
    return msg<Ref<UIView>>(root, "hitTest:withEvent:"_sel, point, static_cast<Object*>(nullptr)).get();
}

// A view whose touch area reaches 20 points beyond its bounds, as a hook or subclass might make it.
class WideTouchView : public UIView {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<WideTouchView>("TestWideTouchView", UIView::runtime_class())
                               .method<&WideTouchView::pointInside>("pointInside:withEvent:")
                               .get();
        return cls;
    }
    bool pointInside(CGPoint p, Object*) {
        const CGRect b = bounds();
        return p.x >= -20 && p.y >= -20 && p.x < b.size.width + 20 && p.y < b.size.height + 20;
    }
};

} // namespace

TEST(HitTest, ViewsThatCannotTakeTouchesAreSkippedWithTheirSubviews) {
    struct Case {
        const char* name;
        std::function<void(UIView& child, UIView& grandchild)> change;
        const char* expected; // "root", "child" or "grandchild"
    };
    const std::vector<Case> cases = {
        {"an interactive grandchild takes the touch", [](UIView&, UIView&) {}, "grandchild"},
        {"a hidden grandchild leaves it to its parent", [](UIView&, UIView& g) { g.setHidden(true); },
         "child"},
        {"alpha 0 is not hit", [](UIView&, UIView& g) { g.setAlpha(0); }, "child"},
        {"alpha 0.005 is not hit", [](UIView&, UIView& g) { g.setAlpha(0.005); }, "child"},
        {"alpha 0.02 is hit", [](UIView&, UIView& g) { g.setAlpha(0.02); }, "grandchild"},
        {"user interaction off is not hit", [](UIView&, UIView& g) { g.setUserInteractionEnabled(false); },
         "child"},
        {"a hidden parent hides its subviews", [](UIView& c, UIView&) { c.setHidden(true); }, "root"},
        {"a transparent parent hides its subviews", [](UIView& c, UIView&) { c.setAlpha(0); }, "root"},
        {"a parent without user interaction keeps its subviews from touches",
         [](UIView& c, UIView&) { c.setUserInteractionEnabled(false); }, "root"},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        auto root = phone_window();
        auto child = UIView::create(CGRectMake(10, 20, 200, 200));
        auto grandchild = UIView::create(CGRectMake(30, 40, 50, 50));
        child->addSubview(grandchild.get());
        root->addSubview(child.get());
        tc.change(*child, *grandchild);
        const std::map<std::string, UIView*> names = {
            {"root", root.get()}, {"child", child.get()}, {"grandchild", grandchild.get()}};
        EXPECT_EQ(hit(root.get(), {60, 80}), names.at(tc.expected));
    }
}

TEST(HitTest, PointsOutsideAViewMissItAndEverythingInIt) {
    auto root = phone_window();
    auto parent = UIView::create(CGRectMake(0, 0, 100, 100));
    auto outside = UIView::create(CGRectMake(120, 0, 50, 50)); // drawn past the parent, not clipped
    parent->addSubview(outside.get());
    root->addSubview(parent.get());
    ASSERT_FALSE(parent->clipsToBounds());
    EXPECT_EQ(hit(root.get(), {140, 20}), root.get()) << "a child outside its parent's bounds is not hit";
    EXPECT_EQ(hit(root.get(), {50, 50}), parent.get());
    EXPECT_EQ(hit(root.get(), {-1, 10}), nullptr) << "outside the root nothing is hit";
    EXPECT_EQ(hit(root.get(), {375, 10}), nullptr) << "the right edge is outside";
    EXPECT_EQ(hit(root.get(), {374.5, 666.5}), root.get());
}

TEST(HitTest, OverlappingSiblingsGiveTheTouchToTheFrontMost) {
    auto root = phone_window();
    auto back = UIView::create(CGRectMake(0, 0, 100, 100));
    auto front = UIView::create(CGRectMake(50, 50, 100, 100));
    root->addSubview(back.get());
    root->addSubview(front.get());
    EXPECT_EQ(hit(root.get(), {75, 75}), front.get());
    EXPECT_EQ(hit(root.get(), {25, 25}), back.get());
    root->insertSubviewAtIndex(front.get(), 0);
    EXPECT_EQ(hit(root.get(), {75, 75}), back.get()) << "moved to the back, the other wins";
    back->setHidden(true);
    EXPECT_EQ(hit(root.get(), {75, 75}), front.get()) << "a hidden front view lets the one behind take it";
}

TEST(HitTest, EachSubviewIsAskedInItsOwnCoordinates) {
    auto root = phone_window();
    auto a = UIView::create(CGRectMake(100, 200, 100, 100));
    auto b = UIView::create(CGRectMake(10, 10, 20, 20));
    a->addSubview(b.get());
    root->addSubview(a.get());
    EXPECT_EQ(hit(root.get(), {115, 215}), b.get());
    EXPECT_EQ(hit(root.get(), {135, 215}), a.get()) << "past b's frame in a's coordinates";
    EXPECT_EQ(hit(a.get(), {15, 15}), b.get()) << "asked directly, a uses its own coordinates";

    const CGPoint in_b = b->convertPointFromView({115, 215}, root.get());
    EXPECT_EQ(in_b.x, 5);
    EXPECT_EQ(in_b.y, 5);
    const CGPoint back = b->convertPointToView({5, 5}, nullptr);
    EXPECT_EQ(back.x, 115);
    EXPECT_EQ(back.y, 215);
    const CGPoint across = msg<CGPoint>(b, "convertPoint:toView:"_sel, CGPoint{0, 0}, a.get());
    EXPECT_EQ(across.x, 10);
    EXPECT_EQ(across.y, 10);
}

TEST(HitTest, AnOverriddenPointInsideIsAskedThroughTheRuntime) {
    auto root = phone_window();
    auto wide = UIView::create<WideTouchView>(CGRectMake(100, 100, 40, 40));
    ASSERT_TRUE(wide);
    root->addSubview(wide.get());
    EXPECT_EQ(hit(root.get(), {90, 90}), wide.get()) << "10 points outside, inside the widened area";
    EXPECT_EQ(hit(root.get(), {75, 75}), root.get());
}

namespace {

// Records each control event it is sent.
class EventLog : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<EventLog>("TestTouchEventLog", NSObject::runtime_class())
                               .method<&EventLog::down>("down")
                               .method<&EventLog::upInside>("upInside")
                               .method<&EventLog::upOutside>("upOutside")
                               .get();
        return cls;
    }
    void down() { events.push_back("down"); }
    void upInside() { events.push_back("upInside"); }
    void upOutside() { events.push_back("upOutside"); }
    std::vector<std::string> events;
};

Ref<UIButton> system_button(const char* title) {
    auto button =
        msg<Ref<UIButton>>(UIButton::runtime_class(), "buttonWithType:"_sel, int64_t{UIButtonTypeSystem});
    button->setTitleForState(ns(title).get(), UIControlStateNormal);
    return button;
}

} // namespace

TEST(TouchButton, HighlightsWhileInsideAndFiresOnRelease) {
    enum class Phase { Down, Move, Up, Cancel };
    struct Step {
        Phase phase;
        CGPoint point;
        bool highlighted_after;
        const char* fired;
    };
    struct Case {
        const char* name;
        bool enabled;
        std::vector<Step> steps;
        std::vector<std::string> events;
    };
    // The button covers (100, 100) to (180, 140); the slop reaches 70 points further.
    const std::vector<Case> cases = {
        {"a tap fires up-inside",
         true,
         {{Phase::Down, {140, 120}, true, "highlight"}, {Phase::Up, {140, 120}, false, "action"}},
         {"down", "upInside"}},
        {"released within the slop still counts as inside",
         true,
         {{Phase::Down, {140, 120}, true, "highlight"},
          {Phase::Move, {140, 205}, true, ""},
          {Phase::Up, {140, 205}, false, "action"}},
         {"down", "upInside"}},
        {"dragged beyond the slop unhighlights and ends outside",
         true,
         {{Phase::Down, {140, 120}, true, "highlight"},
          {Phase::Move, {140, 215}, false, ""},
          {Phase::Up, {140, 215}, false, "outside"}},
         {"down", "upOutside"}},
        {"dragged out and back in fires up-inside",
         true,
         {{Phase::Down, {140, 120}, true, "highlight"},
          {Phase::Move, {260, 120}, false, ""},
          {Phase::Move, {170, 130}, true, ""},
          {Phase::Up, {170, 130}, false, "action"}},
         {"down", "upInside"}},
        {"a cancelled touch unhighlights and fires nothing more",
         true,
         {{Phase::Down, {140, 120}, true, "highlight"}, {Phase::Cancel, {}, false, ""}},
         {"down"}},
        {"a disabled button does nothing",
         false,
         {{Phase::Down, {140, 120}, false, ""}, {Phase::Up, {140, 120}, false, ""}},
         {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        auto root = phone_window();
        auto button = system_button("Send");
        button->setFrame(CGRectMake(100, 100, 80, 40));
        root->addSubview(button.get());
        auto log = make_object<EventLog>();
        button->addTargetActionForControlEvents(log.get(), "down"_sel, UIControlEventTouchDown);
        button->addTargetActionForControlEvents(log.get(), "upInside"_sel, UIControlEventTouchUpInside);
        button->addTargetActionForControlEvents(log.get(), "upOutside"_sel, UIControlEventTouchUpOutside);
        button->setEnabled(tc.enabled);

        TouchTracker tracker(root.get());
        for (size_t i = 0; i < tc.steps.size(); ++i) {
            const Step& step = tc.steps[i];
            SCOPED_TRACE("step " + std::to_string(i));
            TouchOutcome out;
            switch (step.phase) {
            case Phase::Down:
                out = tracker.began(step.point);
                EXPECT_EQ(out.view, button.get()) << "the title label takes no touches";
                EXPECT_EQ(out.view_class, "UIButton");
                break;
            case Phase::Move:
                out = tracker.moved(step.point);
                break;
            case Phase::Up:
                out = tracker.ended(step.point);
                break;
            case Phase::Cancel:
                tracker.cancelled();
                break;
            }
            EXPECT_EQ(out.fired, step.fired);
            if (!out.fired.empty()) {
                EXPECT_EQ(out.detail, "Send");
            }
            EXPECT_EQ(button->isHighlighted(), step.highlighted_after);
            EXPECT_EQ(dump_view(button.get())["highlighted"], step.highlighted_after);
        }
        EXPECT_FALSE(tracker.tracking());
        EXPECT_EQ(log->events, tc.events);
    }
}

TEST(TouchButton, HighlightedSystemTitleFadesUnlessTheStateHasItsOwnColour) {
    struct Case {
        const char* name;
        int64_t type;
        bool own_highlighted_colour;
        double title_alpha;
    };
    const std::vector<Case> cases = {
        {"a system button's title fades", UIButtonTypeSystem, false, 0.2},
        {"a highlighted colour of its own shows instead", UIButtonTypeSystem, true, 1.0},
        {"a custom button's title stays", UIButtonTypeCustom, false, 1.0},
    };
    auto red = UIColor::colorWithRGBA(1, 0, 0, 1);
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        auto button = msg<Ref<UIButton>>(UIButton::runtime_class(), "buttonWithType:"_sel, tc.type);
        if (tc.own_highlighted_colour)
            button->setTitleColorForState(red.get(), UIControlStateHighlighted);
        const UIColor* normal_colour = button->titleLabel()->textColor();
        msg(button, "setHighlighted:"_sel, true);
        EXPECT_TRUE(msg<bool>(button, "isHighlighted"_sel));
        EXPECT_EQ(button->state(), UIControlStateHighlighted);
        EXPECT_DOUBLE_EQ(button->titleLabel()->alpha(), tc.title_alpha);
        EXPECT_EQ(button->titleLabel()->textColor(), tc.own_highlighted_colour ? red.get() : normal_colour);
        msg(button, "setHighlighted:"_sel, false);
        EXPECT_DOUBLE_EQ(button->titleLabel()->alpha(), 1.0);
        EXPECT_EQ(button->titleLabel()->textColor(), normal_colour);
    }
    auto button = system_button("Off");
    button->setEnabled(false);
    button->setHighlighted(true);
    EXPECT_FALSE(button->isHighlighted()) << "a disabled button is never highlighted";
}

namespace {

// A data source of two rows, the second holding a button, and a delegate that logs selections.
class RowSource : public NSObject {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<RowSource>("TestTouchRowSource", NSObject::runtime_class())
                               .method<&RowSource::rows>("tableView:numberOfRowsInSection:")
                               .method<&RowSource::cell>("tableView:cellForRowAtIndexPath:")
                               .method<&RowSource::didSelect>("tableView:didSelectRowAtIndexPath:")
                               .get();
        return cls;
    }
    int64_t rows(Object*, int64_t) { return 2; }
    Ref<Object> cell(Object*, NSIndexPath* path) {
        auto cell = UIView::create<UITableViewCell>(CGRectMake(0, 0, 0, 0));
        cell->layoutIfNeeded();
        if (path && path->row() == 1) {
            button = system_button("Reply");
            button->setFrame(CGRectMake(250, 10, 80, 44));
            cell->contentView()->addSubview(button.get());
        }
        return Ref<Object>(cell.get());
    }
    void didSelect(Object*, NSIndexPath* path) {
        selected.push_back(std::to_string(path->section()) + "." + std::to_string(path->row()));
    }
    Ref<UIButton> button;
    std::vector<std::string> selected;
};

struct TableScene {
    TableScene() {
        root->addSubview(table.get());
        table->setDataSource(source.get());
        table->setDelegate(source.get());
        table->reloadData();
        root->layoutIfNeeded();
    }
    ~TableScene() {
        table->setDataSource(nullptr);
        table->setDelegate(nullptr);
    }
    Ref<UIWindow> root = phone_window();
    Ref<UITableView> table = UIView::create<UITableView>(CGRectMake(0, 100, 375, 400));
    Ref<RowSource> source = make_object<RowSource>();
};

} // namespace

TEST(TouchRow, ATapSelectsItsRowAndADragDoesNot) {
    struct Case {
        const char* name;
        std::vector<CGPoint> path; // down, moves, up (table rows are 64 high from y = 100)
        const char* fired;
        const char* detail;
        std::vector<std::string> selected;
    };
    const std::vector<Case> cases = {
        {"a tap on the first row", {{50, 130}, {50, 130}}, "row", "0.0", {"0.0"}},
        {"a tap on the second row", {{50, 200}, {50, 200}}, "row", "0.1", {"0.1"}},
        {"a small wobble is still a tap", {{50, 130}, {56, 136}, {55, 134}}, "row", "0.0", {"0.0"}},
        {"a drag is no tap, even back to where it began", {{50, 130}, {50, 150}, {50, 130}}, "", "", {}},
        {"released off the row", {{50, 160}, {50, 166}}, "", "", {}},
        {"a control in the cell takes the touch, not the row",
         {{290, 200}, {290, 200}},
         "action",
         "Reply",
         {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        TableScene scene;
        ASSERT_EQ(scene.table->shown_cells().size(), 2u);
        TouchTracker tracker(scene.root.get());
        TouchOutcome out = tracker.began(tc.path.front());
        for (size_t i = 1; i + 1 < tc.path.size(); ++i)
            tracker.moved(tc.path[i]);
        out = tracker.ended(tc.path.back());
        EXPECT_EQ(out.fired, tc.fired);
        EXPECT_EQ(out.detail, tc.detail);
        EXPECT_EQ(scene.source->selected, tc.selected);
    }
}

TEST(TouchRow, ACancelledTapSelectsNothing) {
    TableScene scene;
    TouchTracker tracker(scene.root.get());
    tracker.began({50, 130});
    tracker.cancelled();
    EXPECT_FALSE(tracker.tracking());
    EXPECT_EQ(tracker.ended({50, 130}).fired, "") << "the up of a cancelled touch is no tap";
    EXPECT_TRUE(scene.source->selected.empty());
}

TEST(TouchRow, WithoutADelegateThatAnswersNothingIsSelected) {
    TableScene scene;
    scene.table->setDelegate(nullptr);
    TouchTracker tracker(scene.root.get());
    tracker.began({50, 130});
    TouchOutcome out = tracker.ended({50, 130});
    EXPECT_EQ(out.fired, "");
    EXPECT_EQ(out.view_class, "UIView") << "the cell's content view is what the finger is on";
    EXPECT_TRUE(scene.source->selected.empty());

    auto path =
        msg<Ref<NSIndexPath>>(scene.table, "indexPathForCell:"_sel, scene.table->shown_cells()[1].get());
    ASSERT_TRUE(path);
    EXPECT_EQ(path->row(), 1);
    EXPECT_FALSE(msg<Ref<NSIndexPath>>(scene.table, "indexPathForCell:"_sel, scene.root.get()))
        << "a view that is no shown cell has no index path";
}

TEST(TouchTracker, NothingHitReportsNothingAndANewTouchEndsTheOldOne) {
    auto root = phone_window();
    auto button = system_button("A");
    button->setFrame(CGRectMake(0, 0, 50, 50));
    root->addSubview(button.get());
    TouchTracker tracker(root.get());

    TouchOutcome miss = tracker.began({-10, -10});
    EXPECT_EQ(miss.view, nullptr);
    EXPECT_EQ(miss.view_class, "");
    EXPECT_TRUE(tracker.tracking());
    EXPECT_EQ(tracker.ended({-10, -10}).fired, "");
    EXPECT_FALSE(tracker.tracking());
    EXPECT_EQ(tracker.moved({1, 1}).fired, "") << "a move without a touch is ignored";
    EXPECT_EQ(tracker.ended({1, 1}).fired, "") << "so is an up";

    tracker.began({25, 25});
    EXPECT_TRUE(button->isHighlighted());
    TouchOutcome other = tracker.began({200, 200});
    EXPECT_FALSE(button->isHighlighted()) << "the first touch was cancelled";
    EXPECT_EQ(other.view, root.get());
    EXPECT_EQ(other.view_class, "UIWindow");

    tracker.began({25, 25});
    button->removeFromSuperview(); // the tree changes under a held touch
    EXPECT_EQ(tracker.ended({25, 25}).fired, "outside") << "the button is no longer under the finger";
}
