// Views: a rectangle in its superview with a layer, colours, subviews and a layout pass.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/foundation/Geometry.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIColor.h"

namespace platform::foundation {
class NSArray;
}

namespace platform::uikit {

using foundation::CGPoint;
using foundation::CGRect;
using foundation::CGSize;
class UIWindow;
class Canvas;

// The autoresizing flags, stored for the host's own layout code.
enum UIViewAutoresizing : uint64_t {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1 << 0,
    UIViewAutoresizingFlexibleWidth = 1 << 1,
    UIViewAutoresizingFlexibleRightMargin = 1 << 2,
    UIViewAutoresizingFlexibleTopMargin = 1 << 3,
    UIViewAutoresizingFlexibleHeight = 1 << 4,
    UIViewAutoresizingFlexibleBottomMargin = 1 << 5,
};

// A view and its subtree. Parents own their children; the superview pointer is weak and is
// cleared when the view is removed or its superview dies. The frame lives in the view's layer,
// which is created with the view, and the background colour is the layer's, as on the device.
// Hosts create views through the runtime (see create) so that hooks on initWithFrame: run.
// Layout is lazy: a new view, a change of size and a change of subviews mark a view, and
// layoutIfNeeded sends layoutSubviews, through the runtime, to each marked view of the subtree,
// parents before children.
class UIView : public runtime::NSObject {
  public:
    static Class runtime_class();

    // class_createInstance followed by initWithFrame: sent through the runtime.
    template <class T = UIView> static Ref<T> create(CGRect frame);

    UIView();

    Ref<Object> initWithFrame(CGRect frame);
    // init is initWithFrame: with the zero rectangle, as on the device.
    Ref<Object> init();

    CGRect frame() const { return layer_->frame(); }
    // A change of size marks the view for layout.
    void setFrame(CGRect frame);
    CGRect bounds() const { return layer_->bounds(); }
    CGPoint center() const;
    void setCenter(CGPoint center);

    UIColor* backgroundColor() const { return layer_->backgroundColor(); }
    void setBackgroundColor(UIColor* colour) { layer_->setBackgroundColor(colour); }
    double alpha() const { return alpha_; }
    void setAlpha(double alpha) { alpha_ = alpha; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    // The tint set on this view, else the superview's, else the platform's blue.
    UIColor* tintColor() const;
    // The tint set on this view itself, nil when it inherits.
    UIColor* own_tint_colour() const { return tint_.get(); }
    void setTintColor(UIColor* colour) { tint_ = colour; }
    bool isUserInteractionEnabled() const { return user_interaction_; }
    void setUserInteractionEnabled(bool enabled) { user_interaction_ = enabled; }
    bool clipsToBounds() const { return layer_->masksToBounds(); }
    void setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }
    uint64_t autoresizingMask() const { return autoresizing_mask_; }
    void setAutoresizingMask(uint64_t mask) { autoresizing_mask_ = mask; }
    CALayer* layer() const { return layer_.get(); }

    UIView* superview() const { return superview_; }
    const std::vector<Ref<UIView>>& subview_list() const { return subviews_; }
    // A snapshot of the subviews, back to front.
    Ref<foundation::NSArray> subviews() const;
    // A view that already has a superview is moved. A view cannot become its own ancestor;
    // such a request, and a nil view, change nothing.
    void addSubview(UIView* view);
    // A negative index inserts at the back, an index past the end at the front.
    void insertSubviewAtIndex(UIView* view, int64_t index);
    void removeFromSuperview();

    // Hit-testing, sent through the runtime so that subclasses and hooks take part. The point
    // is in this view's coordinates; the event may be nil. A hidden view, one with alpha below
    // 0.01 or without user interaction is never hit, nor is anything under it; a point outside
    // the bounds misses the view and all its subviews. Subviews are tried front-most first,
    // and the view itself is hit when none of them is.
    UIView* hitTest(CGPoint point, runtime::Object* event);
    bool pointInside(CGPoint point, runtime::Object* event);
    // A point in this view's coordinates seen from another view of the same tree, and back.
    // A nil view stands for the root of the tree (the window).
    CGPoint convertPointToView(CGPoint point, UIView* view) const;
    CGPoint convertPointFromView(CGPoint point, UIView* view) const;

    // The window at the root of this view's tree, nil when the root is no window.
    UIWindow* window() const;
    // Sent through the runtime to a view and each of its subviews whose window changed.
    void didMoveToWindow() {}
    // Called with the new window (or nil) after didMoveToWindow, so that a host or hook can
    // stop a view's timers when it leaves its window.
    std::function<void(UIWindow*)> on_window_change;

    // The base layout does nothing; subclasses and hooks place their subviews here.
    void layoutSubviews() {}
    void setNeedsLayout() { needs_layout_ = true; }
    bool needs_layout() const { return needs_layout_; }
    void layoutIfNeeded();
    void setNeedsDisplay() { ++display_generation_; }
    // How many redraws have been requested; a renderer redraws when it changes.
    uint64_t display_generation() const { return display_generation_; }
    // The view's own content, drawn after its background and before its subviews. A plain view
    // has none; labels, image views, buttons and host views with custom content override it.
    virtual void draw(Canvas&) const {}

  protected:
    // Told whenever setFrame: stores a frame, including the one of initWithFrame:.
    virtual void frame_did_change() {}

  private:
    void will_dealloc() final;
    // The point in the root's coordinates, through each frame origin and bounds origin above.
    CGPoint point_in_root(CGPoint point) const;
    bool is_ancestor_of(const UIView* view) const;
    // Inserts at the index, cut to the number of subviews once the view has left its old place.
    void place(UIView* view, size_t index);
    Ref<UIView> detach_from_superview();
    void tell_window_change(UIWindow* old_window);

    Ref<CALayer> layer_;
    double alpha_{1.0};
    bool hidden_{false};
    bool user_interaction_{true};
    uint64_t autoresizing_mask_{UIViewAutoresizingNone};
    Ref<UIColor> tint_;
    UIView* superview_{nullptr};
    std::vector<Ref<UIView>> subviews_;
    bool needs_layout_{true};
    uint64_t display_generation_{0};
};

template <class T> Ref<T> UIView::create(CGRect frame) {
    using namespace platform::runtime;
    Ref<Object> instance = class_createInstance(T::runtime_class());
    Ref<Object> initialised = msg<Ref<Object>>(instance, "initWithFrame:"_sel, frame);
    return Ref<T>(dynamic_cast<T*>(initialised.get()));
}

} // namespace platform::uikit
