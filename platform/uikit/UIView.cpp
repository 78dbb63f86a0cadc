#include "platform/uikit/UIView.h"

#include <algorithm>
#include <limits>

#include "platform/foundation/NSArray.h"
#include "platform/uikit/UIWindow.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIView::runtime_class() {
    static Class cls = ClassBuilder<UIView>("UIView", NSObject::runtime_class())
                           .method<&UIView::initWithFrame>("initWithFrame:")
                           .method<&UIView::init>("init")
                           .method<&UIView::frame>("frame")
                           .method<&UIView::setFrame>("setFrame:")
                           .method<&UIView::bounds>("bounds")
                           .method<&UIView::center>("center")
                           .method<&UIView::setCenter>("setCenter:")
                           .method<&UIView::backgroundColor>("backgroundColor")
                           .method<&UIView::setBackgroundColor>("setBackgroundColor:")
                           .method<&UIView::alpha>("alpha")
                           .method<&UIView::setAlpha>("setAlpha:")
                           .method<&UIView::isHidden>("isHidden")
                           .method<&UIView::isHidden>("hidden")
                           .method<&UIView::setHidden>("setHidden:")
                           .method<&UIView::tintColor>("tintColor")
                           .method<&UIView::setTintColor>("setTintColor:")
                           .method<&UIView::isUserInteractionEnabled>("isUserInteractionEnabled")
                           .method<&UIView::isUserInteractionEnabled>("userInteractionEnabled")
                           .method<&UIView::setUserInteractionEnabled>("setUserInteractionEnabled:")
                           .method<&UIView::clipsToBounds>("clipsToBounds")
                           .method<&UIView::setClipsToBounds>("setClipsToBounds:")
                           .method<&UIView::autoresizingMask>("autoresizingMask")
                           .method<&UIView::setAutoresizingMask>("setAutoresizingMask:")
                           .method<&UIView::layer>("layer")
                           .method<&UIView::superview>("superview")
                           .method<&UIView::subviews>("subviews")
                           .method<&UIView::addSubview>("addSubview:")
                           .method<&UIView::insertSubviewAtIndex>("insertSubview:atIndex:")
                           .method<&UIView::removeFromSuperview>("removeFromSuperview")
                           .method<&UIView::hitTest>("hitTest:withEvent:")
                           .method<&UIView::pointInside>("pointInside:withEvent:")
                           .method<&UIView::convertPointToView>("convertPoint:toView:")
                           .method<&UIView::convertPointFromView>("convertPoint:fromView:")
                           .method<&UIView::window>("window")
                           .method<&UIView::didMoveToWindow>("didMoveToWindow")
                           .method<&UIView::layoutSubviews>("layoutSubviews")
                           .method<&UIView::setNeedsLayout>("setNeedsLayout")
                           .method<&UIView::layoutIfNeeded>("layoutIfNeeded")
                           .method<&UIView::setNeedsDisplay>("setNeedsDisplay")
                           .get();
    return cls;
}

UIView::UIView() : layer_(make_object<CALayer>()) {}

void UIView::will_dealloc() {
    // The dying view is a root (a superview would still hold it), so its window is itself or none.
    UIWindow* old_window = window();
    auto children = std::move(subviews_);
    for (auto& child : children) {
        child->superview_ = nullptr;
        child->tell_window_change(old_window);
    }
}

Ref<Object> UIView::initWithFrame(CGRect frame) {
    setFrame(frame);
    return Ref<Object>(this);
}

Ref<Object> UIView::init() {
    return msg<Ref<Object>>(this, "initWithFrame:"_sel, CGRect{});
}

void UIView::setFrame(CGRect frame) {
    if (frame.size != layer_->frame().size)
        needs_layout_ = true;
    layer_->setFrame(frame);
    frame_did_change();
}

CGPoint UIView::center() const {
    CGRect f = frame();
    return {f.midX(), f.midY()};
}

void UIView::setCenter(CGPoint center) {
    CGRect f = frame();
    f.origin = {center.x - f.size.width / 2, center.y - f.size.height / 2};
    setFrame(f);
}

UIColor* UIView::tintColor() const {
    for (const UIView* v = this; v; v = v->superview_)
        if (v->tint_)
            return v->tint_.get();
    static UIColor* system_blue = UIColor::colorWithRGBA(0.0, 122.0 / 255.0, 1.0, 1.0).leak(); // immortal
    return system_blue;
}

Ref<foundation::NSArray> UIView::subviews() const {
    return foundation::NSArray::create({subviews_.begin(), subviews_.end()});
}

bool UIView::is_ancestor_of(const UIView* view) const {
    for (const UIView* v = view; v; v = v->superview_)
        if (v == this)
            return true;
    return false;
}

Ref<UIView> UIView::detach_from_superview() {
    Ref<UIView> self(this);
    if (!superview_)
        return self;
    auto& siblings = superview_->subviews_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), self));
    superview_->needs_layout_ = true;
    superview_ = nullptr;
    return self;
}

void UIView::place(UIView* view, size_t index) {
    if (!view || view->is_ancestor_of(this))
        return;
    UIWindow* old_window = view->window();
    Ref<UIView> moved = view->detach_from_superview();
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), moved);
    view->superview_ = this;
    needs_layout_ = true;
    view->tell_window_change(old_window);
}

void UIView::addSubview(UIView* view) {
    place(view, std::numeric_limits<size_t>::max());
}

void UIView::insertSubviewAtIndex(UIView* view, int64_t index) {
    place(view, index < 0 ? 0 : static_cast<size_t>(index));
}

void UIView::removeFromSuperview() {
    if (!superview_)
        return;
    UIWindow* old_window = window();
    Ref<UIView> removed = detach_from_superview(); // keeps the view alive until it has been told
    tell_window_change(old_window);
}

bool UIView::pointInside(CGPoint point, Object*) {
    const CGRect b = bounds();
    return point.x >= b.origin.x && point.y >= b.origin.y && point.x < b.origin.x + b.size.width &&
           point.y < b.origin.y + b.size.height;
}

UIView* UIView::hitTest(CGPoint point, Object* event) {
    if (hidden_ || !user_interaction_ || alpha_ < 0.01)
        return nullptr;
    if (!msg<bool>(this, "pointInside:withEvent:"_sel, point, event))
        return nullptr;
    auto children = subviews_; // a hook may rearrange the tree while we look
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        // A scrolled child shows its content from its bounds origin.
        const CGRect f = (*it)->frame();
        const CGPoint scrolled = (*it)->bounds().origin;
        const CGPoint local{point.x - f.origin.x + scrolled.x, point.y - f.origin.y + scrolled.y};
        auto hit = msg<Ref<UIView>>(*it, "hitTest:withEvent:"_sel, local, event);
        if (hit)
            return hit.get(); // held by the tree, which outlives this call
    }
    return this;
}

CGPoint UIView::point_in_root(CGPoint point) const {
    for (const UIView* v = this; v->superview_; v = v->superview_) {
        const CGRect f = v->frame();
        const CGPoint scrolled = v->bounds().origin;
        point = {point.x - scrolled.x + f.origin.x, point.y - scrolled.y + f.origin.y};
    }
    return point;
}

CGPoint UIView::convertPointToView(CGPoint point, UIView* view) const {
    const CGPoint in_root = point_in_root(point);
    if (!view)
        return in_root;
    const CGPoint zero = view->point_in_root({0, 0});
    return {in_root.x - zero.x, in_root.y - zero.y};
}

CGPoint UIView::convertPointFromView(CGPoint point, UIView* view) const {
    const CGPoint in_root = view ? view->point_in_root(point) : point;
    const CGPoint zero = point_in_root({0, 0});
    return {in_root.x - zero.x, in_root.y - zero.y};
}

UIWindow* UIView::window() const {
    const UIView* root = this;
    while (root->superview_)
        root = root->superview_;
    return dynamic_cast<UIWindow*>(const_cast<UIView*>(root));
}

void UIView::tell_window_change(UIWindow* old_window) {
    UIWindow* new_window = window();
    if (new_window == old_window)
        return;
    Ref<UIView> self(this);
    msg(this, "didMoveToWindow"_sel);
    if (on_window_change)
        on_window_change(new_window);
    auto children = subviews_; // the callbacks may rearrange the tree
    for (auto& child : children)
        child->tell_window_change(old_window);
}

void UIView::layoutIfNeeded() {
    Ref<UIView> self(this);
    if (needs_layout_) {
        needs_layout_ = false; // a request made during the pass waits for the next one
        msg(this, "layoutSubviews"_sel);
    }
    auto children = subviews_;
    for (auto& child : children)
        child->layoutIfNeeded();
}

} // namespace platform::uikit
