#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/uikit/UIView.h"

using namespace platform::runtime;
using namespace platform::uikit;
using platform::foundation::CGPoint;
using platform::foundation::CGRect;
using platform::foundation::CGRectMake;

namespace {

// Each test class gets its own hooks, so replacements never leak between tests.
class LaidOutView : public UIView {
  public:
    static Class runtime_class() {
        static Class cls = ClassBuilder<LaidOutView>("TestLaidOutView", UIView::runtime_class()).get();
        return cls;
    }
    std::string name;
};

std::vector<std::string> layout_log;
IMP saved_layout = nullptr;
void logging_layout(Object* self, SEL sel) {
    call_imp(saved_layout, self, sel);
    layout_log.push_back(static_cast<LaidOutView*>(self)->name);
}

Ref<LaidOutView> named(const char* name) {
    auto view = UIView::create<LaidOutView>(CGRectMake(0, 0, 10, 10));
    view->name = name;
    return view;
}

class InitWatchedView : public UIView {
  public:
    static Class runtime_class() {
        static Class cls =
            ClassBuilder<InitWatchedView>("TestInitWatchedView", UIView::runtime_class()).get();
        return cls;
    }
};

std::vector<CGRect> init_frames;
IMP saved_init = nullptr;
Ref<Object> watching_init(Object* self, SEL sel, CGRect frame) {
    auto result = call_imp<Ref<Object>>(saved_init, self, sel, frame);
    init_frames.push_back(frame);
    return result;
}

} // namespace

class ViewLayout : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        MSHookMessageEx(LaidOutView::runtime_class(), "layoutSubviews"_sel, imp_cast(&logging_layout),
                        &saved_layout);
    }
    void SetUp() override { layout_log.clear(); }
};

TEST_F(ViewLayout, LayoutIfNeededRunsTheReplacedLayoutParentsFirst) {
    ASSERT_NE(saved_layout, nullptr);
    auto root = named("root");
    auto child = named("child");
    auto grandchild = named("grandchild");
    root->addSubview(child.get());
    child->addSubview(grandchild.get());

    msg(root, "layoutIfNeeded"_sel);
    EXPECT_EQ(layout_log, (std::vector<std::string>{"root", "child", "grandchild"}));

    layout_log.clear();
    msg(root, "layoutIfNeeded"_sel);
    EXPECT_TRUE(layout_log.empty()) << "nothing pending, nothing laid out";
}

TEST_F(ViewLayout, EachPendingRequestIsServedOnce) {
    auto root = named("root");
    auto child = named("child");
    root->addSubview(child.get());
    root->layoutIfNeeded();
    layout_log.clear();

    msg(child, "setNeedsLayout"_sel);
    msg(child, "setNeedsLayout"_sel);
    root->layoutIfNeeded();
    root->layoutIfNeeded();
    EXPECT_EQ(layout_log, (std::vector<std::string>{"child"}));
}

TEST_F(ViewLayout, TreeAndSizeChangesMarkTheRightViews) {
    struct Case {
        const char* what;
        void (*change)(LaidOutView& root, LaidOutView& child);
        std::vector<std::string> laid_out;
    };
    const std::vector<Case> cases{
        {"resize", [](LaidOutView&, LaidOutView& c) { c.setFrame(CGRectMake(0, 0, 20, 20)); }, {"child"}},
        {"move only", [](LaidOutView&, LaidOutView& c) { c.setFrame(CGRectMake(5, 5, 10, 10)); }, {}},
        {"new centre",
         [](LaidOutView&, LaidOutView& c) {
             c.setCenter({50, 50});
         },
         {}},
        {"add subview",
         [](LaidOutView& r, LaidOutView&) { r.addSubview(named("extra").get()); },
         {"root", "extra"}},
        {"remove subview", [](LaidOutView&, LaidOutView& c) { c.removeFromSuperview(); }, {"root"}},
    };
    for (const auto& tc : cases) {
        auto root = named("root");
        auto child = named("child");
        root->addSubview(child.get());
        root->layoutIfNeeded();
        layout_log.clear();
        tc.change(*root, *child);
        root->layoutIfNeeded();
        EXPECT_EQ(layout_log, tc.laid_out) << tc.what;
    }
}

TEST(ViewInit, CreationThroughTheRuntimeRunsAHookOnInitWithFrame) {
    MSHookMessageEx(InitWatchedView::runtime_class(), "initWithFrame:"_sel, imp_cast(&watching_init),
                    &saved_init);
    ASSERT_NE(saved_init, nullptr);

    auto view = UIView::create<InitWatchedView>(CGRectMake(1, 2, 3, 4));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->frame(), CGRectMake(1, 2, 3, 4));

    auto plain = class_createInstance(InitWatchedView::runtime_class());
    msg<Ref<Object>>(plain, "init"_sel);
    ASSERT_EQ(init_frames.size(), 2u);
    EXPECT_EQ(init_frames[0], CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(init_frames[1], CGRect{}) << "init goes through initWithFrame: with the zero rectangle";
}

TEST(ViewGeometry, FrameBoundsCentreAndLayerAgree) {
    auto view = UIView::create(CGRectMake(10, 20, 100, 50));
    EXPECT_EQ(msg<CGRect>(view, "bounds"_sel), CGRectMake(0, 0, 100, 50));
    EXPECT_EQ(msg<CGPoint>(view, "center"_sel), (CGPoint{60, 45}));
    msg(view, "setCenter:"_sel, CGPoint{0, 0});
    EXPECT_EQ(view->frame(), CGRectMake(-50, -25, 100, 50));
    auto layer = msg<Ref<CALayer>>(view, "layer"_sel);
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->frame(), view->frame()) << "the layer's frame follows the view's";
    EXPECT_EQ(layer.get(), view->layer()) << "one layer for the life of the view";
}

TEST(ViewProperties, StoredValuesAndDefaults) {
    auto parent = UIView::create(CGRectMake(0, 0, 10, 10));
    auto view = UIView::create(CGRectMake(0, 0, 10, 10));
    parent->addSubview(view.get());
    EXPECT_DOUBLE_EQ(view->alpha(), 1.0);
    EXPECT_FALSE(view->isHidden());
    EXPECT_TRUE(msg<bool>(view, "isUserInteractionEnabled"_sel));
    EXPECT_EQ(view->backgroundColor(), nullptr);

    auto red = UIColor::colorWithRGBA(1, 0, 0, 1);
    msg(view, "setBackgroundColor:"_sel, red);
    msg(view, "setAlpha:"_sel, 0.25);
    msg(view, "setHidden:"_sel, true);
    msg(view, "setClipsToBounds:"_sel, true);
    msg(view, "setAutoresizingMask:"_sel, uint64_t{18});
    msg(view, "setUserInteractionEnabled:"_sel, false);
    EXPECT_EQ(msg<Ref<UIColor>>(view, "backgroundColor"_sel).get(), red.get());
    EXPECT_EQ(view->layer()->backgroundColor(), red.get()) << "the background colour is the layer's";
    EXPECT_DOUBLE_EQ(msg<double>(view, "alpha"_sel), 0.25);
    EXPECT_TRUE(msg<bool>(view, "isHidden"_sel));
    EXPECT_TRUE(view->layer()->masksToBounds()) << "clipping is the layer's";
    EXPECT_EQ(msg<uint64_t>(view, "autoresizingMask"_sel), 18u);
    EXPECT_FALSE(view->isUserInteractionEnabled());

    // The tint is inherited from the superview until the view has its own.
    auto green = UIColor::colorWithRGBA(0, 1, 0, 1);
    msg(parent, "setTintColor:"_sel, green);
    EXPECT_EQ(msg<Ref<UIColor>>(view, "tintColor"_sel).get(), green.get());
    EXPECT_EQ(view->own_tint_colour(), nullptr);
    msg(view, "setTintColor:"_sel, red);
    EXPECT_EQ(view->tintColor(), red.get());
}

TEST(ViewDisplay, RedrawRequestsAreCounted) {
    auto view = UIView::create(CGRectMake(0, 0, 10, 10));
    uint64_t before = view->display_generation();
    msg(view, "setNeedsDisplay"_sel);
    msg(view, "setNeedsDisplay"_sel);
    EXPECT_EQ(view->display_generation(), before + 2);
}
