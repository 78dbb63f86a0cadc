#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::CGRectMake;
using platform::foundation::NSArray;

namespace {

// Counts live instances so a test can see exactly when a view dies.
class CountedView : public UIView {
  public:
    static inline int alive = 0;
    CountedView() { ++alive; }
    ~CountedView() override { --alive; }
    static Class runtime_class() {
        static Class cls = ClassBuilder<CountedView>("TestCountedView", UIView::runtime_class()).get();
        return cls;
    }
};

std::vector<UIView*> children_of(const UIView& view) {
    std::vector<UIView*> out;
    for (const auto& child : view.subview_list())
        out.push_back(child.get());
    return out;
}

} // namespace

TEST(ViewTree, AddInsertAndRemoveKeepOrderAndSuperview) {
    auto parent = UIView::create(CGRectMake(0, 0, 100, 100));
    auto a = UIView::create(CGRectMake(0, 0, 10, 10));
    auto b = UIView::create(CGRectMake(0, 0, 10, 10));
    auto c = UIView::create(CGRectMake(0, 0, 10, 10));

    msg(parent, "addSubview:"_sel, a);
    msg(parent, "addSubview:"_sel, b);
    msg(parent, "insertSubview:atIndex:"_sel, c, int64_t{0});
    EXPECT_EQ(children_of(*parent), (std::vector<UIView*>{c.get(), a.get(), b.get()}));
    EXPECT_EQ(msg<Ref<UIView>>(a, "superview"_sel).get(), parent.get());

    auto listed = msg<Ref<NSArray>>(parent, "subviews"_sel);
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed->count(), 3u);
    EXPECT_EQ(listed->objectAtIndex(0).get(), c.get());

    msg(a, "removeFromSuperview"_sel);
    EXPECT_EQ(a->superview(), nullptr);
    EXPECT_EQ(children_of(*parent), (std::vector<UIView*>{c.get(), b.get()}));
    // Removing a view that has no superview is harmless.
    msg(a, "removeFromSuperview"_sel);
    EXPECT_EQ(a->superview(), nullptr);
}

TEST(ViewTree, InsertIndexIsCutToTheSubviewRange) {
    struct Case {
        int64_t index;
        size_t expected_position;
    };
    for (const auto& tc : std::vector<Case>{{-5, 0}, {0, 0}, {1, 1}, {2, 2}, {99, 2}}) {
        auto parent = UIView::create(CGRectMake(0, 0, 10, 10));
        parent->addSubview(UIView::create(CGRectMake(0, 0, 1, 1)).get());
        parent->addSubview(UIView::create(CGRectMake(0, 0, 1, 1)).get());
        auto inserted = UIView::create(CGRectMake(0, 0, 1, 1));
        parent->insertSubviewAtIndex(inserted.get(), tc.index);
        ASSERT_EQ(parent->subview_list().size(), 3u);
        EXPECT_EQ(parent->subview_list()[tc.expected_position].get(), inserted.get()) << "index " << tc.index;
    }
}

TEST(ViewTree, AddingMovesAViewFromItsOldSuperview) {
    auto first = UIView::create(CGRectMake(0, 0, 10, 10));
    auto second = UIView::create(CGRectMake(0, 0, 10, 10));
    auto child = UIView::create(CGRectMake(0, 0, 1, 1));
    auto other = UIView::create(CGRectMake(0, 0, 1, 1));
    first->addSubview(child.get());
    second->addSubview(child.get());
    EXPECT_TRUE(first->subview_list().empty());
    EXPECT_EQ(child->superview(), second.get());

    // Re-adding to the same superview brings the view to the front without duplicating it.
    second->addSubview(other.get());
    second->addSubview(child.get());
    EXPECT_EQ(children_of(*second), (std::vector<UIView*>{other.get(), child.get()}));
}

TEST(ViewTree, CyclesAndNilAreRefused) {
    auto root = UIView::create(CGRectMake(0, 0, 10, 10));
    auto child = UIView::create(CGRectMake(0, 0, 1, 1));
    root->addSubview(child.get());
    child->addSubview(root.get());
    root->addSubview(root.get());
    root->addSubview(nullptr);
    EXPECT_EQ(root->superview(), nullptr);
    EXPECT_EQ(children_of(*root), (std::vector<UIView*>{child.get()}));
    EXPECT_TRUE(child->subview_list().empty());
}

TEST(ViewTree, ParentsOwnTheirChildren) {
    CountedView::alive = 0;
    auto parent = UIView::create(CGRectMake(0, 0, 10, 10));
    {
        auto child = UIView::create<CountedView>(CGRectMake(0, 0, 1, 1));
        parent->addSubview(child.get());
    }
    EXPECT_EQ(CountedView::alive, 1) << "the superview keeps its child alive";
    msg(parent->subview_list()[0], "removeFromSuperview"_sel);
    EXPECT_EQ(CountedView::alive, 0) << "a removed child that nothing else holds dies";

    auto kept = UIView::create<CountedView>(CGRectMake(0, 0, 1, 1));
    {
        auto short_lived = UIView::create(CGRectMake(0, 0, 10, 10));
        short_lived->addSubview(kept.get());
        EXPECT_EQ(kept->superview(), short_lived.get());
    }
    EXPECT_EQ(CountedView::alive, 1);
    EXPECT_EQ(kept->superview(), nullptr) << "the weak superview pointer is cleared when the parent dies";

    {
        auto doomed = UIView::create(CGRectMake(0, 0, 10, 10));
        doomed->addSubview(UIView::create<CountedView>(CGRectMake(0, 0, 1, 1)).get());
        EXPECT_EQ(CountedView::alive, 2);
    }
    EXPECT_EQ(CountedView::alive, 1) << "children held only by a dying parent die with it";
}

TEST(ViewWindow, MembershipChangesAreReportedToTheWholeSubtree) {
    auto window = UIView::create<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto branch = UIView::create(CGRectMake(0, 0, 100, 100));
    auto leaf = UIView::create(CGRectMake(0, 0, 10, 10));
    branch->addSubview(leaf.get());

    std::vector<UIWindow*> branch_events, leaf_events;
    branch->on_window_change = [&](UIWindow* w) { branch_events.push_back(w); };
    leaf->on_window_change = [&](UIWindow* w) { leaf_events.push_back(w); };
    EXPECT_EQ(leaf->window(), nullptr);

    msg(window, "addSubview:"_sel, branch);
    EXPECT_EQ(msg<Ref<UIWindow>>(leaf, "window"_sel).get(), window.get());
    EXPECT_EQ(window->window(), window.get());

    // Moving within the same window is no change of window.
    auto holder = UIView::create(CGRectMake(0, 0, 10, 10));
    window->addSubview(holder.get());
    holder->addSubview(branch.get());

    msg(branch, "removeFromSuperview"_sel);
    EXPECT_EQ(leaf->window(), nullptr);

    EXPECT_EQ(branch_events, (std::vector<UIWindow*>{window.get(), nullptr}));
    EXPECT_EQ(leaf_events, (std::vector<UIWindow*>{window.get(), nullptr}));
}

TEST(ViewWindow, ChildrenThatOutliveTheirWindowAreTold) {
    auto survivor = UIView::create(CGRectMake(0, 0, 10, 10));
    std::vector<UIWindow*> events;
    survivor->on_window_change = [&](UIWindow* w) { events.push_back(w); };
    {
        auto window = UIView::create<UIWindow>(CGRectMake(0, 0, 320, 480));
        window->addSubview(survivor.get());
    }
    ASSERT_EQ(events.size(), 2u);
    EXPECT_NE(events[0], nullptr);
    EXPECT_EQ(events[1], nullptr);
    EXPECT_EQ(survivor->superview(), nullptr);
}

TEST(ViewWindow, DidMoveToWindowIsSentThroughTheRuntime) {
    class WatchedView : public UIView {
      public:
        static Class runtime_class() {
            static Class cls =
                ClassBuilder<WatchedView>("TestWindowWatchedView", UIView::runtime_class()).get();
            return cls;
        }
    };
    static int moves = 0;
    static IMP saved = nullptr;
    auto hook = +[](Object* self, SEL sel) {
        ++moves;
        call_imp(saved, self, sel);
    };
    MSHookMessageEx(WatchedView::runtime_class(), "didMoveToWindow"_sel, imp_cast(hook), &saved);
    ASSERT_NE(saved, nullptr);

    auto window = UIView::create<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto view = UIView::create<WatchedView>(CGRectMake(0, 0, 10, 10));
    window->addSubview(view.get());
    view->removeFromSuperview();
    EXPECT_EQ(moves, 2);
}
