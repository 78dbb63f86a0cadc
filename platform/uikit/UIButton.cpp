#include "platform/uikit/UIButton.h"

#include <algorithm>
#include <cstdio>

#include "platform/uikit/Canvas.h"

namespace platform::uikit {

using namespace platform::runtime;
using foundation::NSString;

// +buttonWithType: an initialised button of the receiving class with the given type.
Ref<Object> make_button_of_type(Object* cls, int64_t type) {
    Ref<Object> instance = class_createInstance(static_cast<Class>(cls));
    Ref<Object> initialised = msg<Ref<Object>>(instance, "initWithFrame:"_sel, CGRect{});
    if (auto* button = dynamic_cast<UIButton*>(initialised.get())) {
        button->type_ = type;
        button->show_current_state();
    }
    return initialised;
}

namespace {

constexpr double kHighlightedTitleAlpha = 0.2;

template <class T> T* value_or_normal(const std::map<uint64_t, Ref<T>>& values, uint64_t state) {
    auto it = values.find(state);
    if (it == values.end())
        it = values.find(UIControlStateNormal);
    return it == values.end() ? nullptr : it->second.get();
}

template <class T> void store(std::map<uint64_t, Ref<T>>& values, T* value, uint64_t state) {
    if (value)
        values[state] = value;
    else
        values.erase(state);
}

void send_action(Object* target, SEL action, UIButton* sender) {
    if (!target)
        return;
    const Method* method = lookup_method(target, action);
    if (!method) {
        report_unrecognized(target, action);
        return;
    }
    Object* from = sender;
    if (method->types == encoding_of<void>())
        msg(target, action);
    else if (method->types == encoding_of<void, Object*>())
        msg(target, action, from);
    else if (method->types == encoding_of<void, Object*, Object*>())
        msg(target, action, from, static_cast<Object*>(nullptr));
    else
        std::fprintf(stderr, "UIButton: action %s has type %s, which a control cannot send\n",
                     sel_getName(action), method->types->c_str());
}

} // namespace

Class UIButton::runtime_class() {
    static Class cls =
        ClassBuilder<UIButton>("UIButton", UIView::runtime_class())
            .method<&UIButton::buttonType>("buttonType")
            .method<&UIButton::state>("state")
            .method<&UIButton::isEnabled>("isEnabled")
            .method<&UIButton::isEnabled>("enabled")
            .method<&UIButton::setEnabled>("setEnabled:")
            .method<&UIButton::isHighlighted>("isHighlighted")
            .method<&UIButton::isHighlighted>("highlighted")
            .method<&UIButton::setHighlighted>("setHighlighted:")
            .method<&UIButton::setTitleForState>("setTitle:forState:")
            .method<&UIButton::titleForState>("titleForState:")
            .method<&UIButton::setTitleColorForState>("setTitleColor:forState:")
            .method<&UIButton::titleColorForState>("titleColorForState:")
            .method<&UIButton::setBackgroundImageForState>("setBackgroundImage:forState:")
            .method<&UIButton::backgroundImageForState>("backgroundImageForState:")
            .method<&UIButton::setImageForState>("setImage:forState:")
            .method<&UIButton::imageForState>("imageForState:")
            .method<&UIButton::showsTouchWhenHighlighted>("showsTouchWhenHighlighted")
            .method<&UIButton::setShowsTouchWhenHighlighted>("setShowsTouchWhenHighlighted:")
            .method<&UIButton::titleLabel>("titleLabel")
            .method<&UIButton::addTargetActionForControlEvents>("addTarget:action:forControlEvents:")
            .method<&UIButton::layoutSubviews>("layoutSubviews")
            .class_method<&make_button_of_type>("buttonWithType:")
            .get();
    return cls;
}

UIButton::UIButton() : title_label_(make_object<UILabel>()) {
    title_label_->setTextAlignment(NSTextAlignmentCenter);
    title_label_->setFont(UIFont::systemFontOfSize(15).get());
    addSubview(title_label_.get());
    show_current_state();
}

uint64_t UIButton::state() const {
    if (!enabled_)
        return UIControlStateDisabled;
    return highlighted_ ? UIControlStateHighlighted : UIControlStateNormal;
}

void UIButton::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled)
        highlighted_ = false;
    show_current_state();
}

void UIButton::setHighlighted(bool highlighted) {
    highlighted = highlighted && enabled_;
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    show_current_state();
    setNeedsDisplay();
}

void UIButton::setTitleForState(NSString* title, uint64_t state) {
    store(titles_, title, state);
    show_current_state();
}

NSString* UIButton::titleForState(uint64_t state) const {
    return value_or_normal(titles_, state);
}

void UIButton::setTitleColorForState(UIColor* colour, uint64_t state) {
    store(title_colours_, colour, state);
    show_current_state();
}

UIColor* UIButton::titleColorForState(uint64_t state) const {
    if (auto* colour = value_or_normal(title_colours_, state))
        return colour;
    return type_ == UIButtonTypeCustom ? UIColor::whiteColor().get() : tintColor();
}

void UIButton::setBackgroundImageForState(UIImage* image, uint64_t state) {
    store(background_images_, image, state);
}
UIImage* UIButton::backgroundImageForState(uint64_t state) const {
    return value_or_normal(background_images_, state);
}
void UIButton::setImageForState(UIImage* image, uint64_t state) {
    store(images_, image, state);
}
UIImage* UIButton::imageForState(uint64_t state) const {
    return value_or_normal(images_, state);
}

void UIButton::addTargetActionForControlEvents(Object* target, SEL action, uint64_t events) {
    if (!action || events == 0)
        return;
    for (auto& entry : target_actions_) {
        if (entry.target.get() == target && entry.action == action) {
            entry.events |= events;
            return;
        }
    }
    target_actions_.push_back({Ref<Object>(target), action, events});
}

void UIButton::send_actions(uint64_t events) {
    Ref<UIButton> self(this);
    auto entries = target_actions_; // an action may add or remove targets
    for (const auto& entry : entries)
        if (entry.events & events)
            send_action(entry.target.get(), entry.action, this);
}

void UIButton::layoutSubviews() {
    title_label_->setFrame(bounds());
}

void UIButton::draw(Canvas& canvas) const {
    const CGRect area = bounds();
    canvas.draw_image(area, backgroundImageForState(state()));
    if (UIImage* image = imageForState(state())) {
        const CGSize natural = image->size();
        double fit = 1.0;
        if (natural.width > area.size.width)
            fit = area.size.width / natural.width;
        if (natural.height * fit > area.size.height)
            fit = area.size.height / natural.height;
        const CGSize size{natural.width * fit, natural.height * fit};
        canvas.draw_image({{area.midX() - size.width / 2, area.midY() - size.height / 2}, size}, image);
    }
}

void UIButton::show_current_state() {
    title_label_->setText(titleForState(state()));
    title_label_->setTextColor(titleColorForState(state()));
    // A system button's title fades while pressed unless the highlighted state has its own colour.
    const bool fades =
        highlighted_ && type_ != UIButtonTypeCustom && !title_colours_.count(UIControlStateHighlighted);
    title_label_->setAlpha(fades ? kHighlightedTitleAlpha : 1.0);
}

} // namespace platform::uikit
