#include "tweak/lockscreen/LockscreenList.h"

#include "platform/foundation/Geometry.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIColor.h"
#include "settings/SettingsState.h"
#include "tweak/AppTintSource.h"
#include "tweak/CyclingColour.h"
#include "tweak/lockscreen/LockscreenUnicornList.h"
#include "tweak/lockscreen/lockscreen_colours.h"

namespace zimtone::tweak::lockscreen {

using namespace platform::runtime;
using namespace platform::foundation;
using platform::uikit::UIColor;
using zimtone::colour::Colour;
using zimtone::settings::state;

IMP original_listLayoutSubviews = nullptr;
IMP original_cellForRowAtIndexPath = nullptr;
IMP original_prepareForRemoval = nullptr;

namespace {

std::optional<Colour> cell_colour_for(const Object* section, const Colour& dominant) {
    const auto& s = state();
    CellInputs in{
        tint_inputs_now(string_of(section), dominant, {s.AllowSaturationLock, s.LockscreenSaturation})};
    in.alpha = s.LockscreenAlpha;
    return cell_colour(in);
}

// A two-stop gradient, transparent at the top. A missing bottom colour (an undecodable per-app
// entry) reads as clear rather than leaving a one-stop array behind.
Ref<Object> clear_to(const Object* bottom) {
    auto clear = msg<Ref<Object>>(UIColor::clearColor(), "CGColor"_sel);
    auto end = bottom ? msg<Ref<Object>>(bottom, "CGColor"_sel) : clear;
    return NSArray::create({clear, end});
}

Object* container_of(Object* list) {
    return object_getIvarNamed(list, "_containerView");
}

void colour_texts(Object* cell, const Colour& dominant) {
    auto colour = UIColor::with(text_colour(dominant));
    for (SEL setter : {"setPrimaryTextColor:"_sel, "setEventDateColor:"_sel, "setRelevanceDateColor:"_sel,
                       "setSecondaryTextColor:"_sel, "setSubtitleTextColor:"_sel})
        msg(cell, setter, colour);
    Object* none = nullptr;
    for (SEL label : {"eventDateLabel"_sel, "relevanceDateLabel"_sel})
        msg(msg<Ref<Object>>(msg<Ref<Object>>(cell, label), "layer"_sel), "setCompositingFilter:"_sel, none);
}

void start_cycling(Object* list, Object* content) {
    LockscreenUnicornList::shared().insert(content);
    if (msg<Ref<Object>>(list, "colorTimer"_sel))
        return; // one timer per list view
    msg(list, "setColorTimer:"_sel, schedule_cycling_timer(list, "changeBackgroundColor"_sel));
}

} // namespace

void listLayoutSubviews(Object* self, SEL sel) {
    call_imp(original_listLayoutSubviews, self, sel);
    const auto& s = state();
    if (!s.LockscreenEnabled || !s.tavoEffect)
        return;
    // Without a container (a host that lacks it) the strip has no height.
    double width = msg<CGRect>(self, "frame"_sel).size.width;
    double height = msg<CGRect>(container_of(self), "frame"_sel).origin.y;
    CGRect strip = CGRectMake(0, 0, width, height);
    auto view = msg<Ref<Object>>(self, "tavoView"_sel);
    if (!view) {
        view = msg<Ref<Object>>(class_createInstance(objc_getClass("UIView")), "initWithFrame:"_sel, strip);
        msg(view, "setBackgroundColor:"_sel, UIColor::clearColor());
        msg(self, "setTavoView:"_sel, view);
        msg(self, "addSubview:"_sel, view);
        auto gradient = msg<Ref<Object>>(objc_getClass("CAGradientLayer"), "layer"_sel);
        msg(self, "setTavoGradient:"_sel, gradient);
        msg(gradient, "setFrame:"_sel, msg<CGRect>(view, "bounds"_sel));
        msg(gradient, "setColors:"_sel, clear_to(UIColor::clearColor()));
        msg(msg<Ref<Object>>(view, "layer"_sel), "insertSublayer:atIndex:"_sel, gradient, uint32_t{0});
    }
    msg(view, "setFrame:"_sel, strip);
    msg(msg<Ref<Object>>(self, "tavoGradient"_sel), "setFrame:"_sel, msg<CGRect>(view, "bounds"_sel));
}

Ref<Object> tableView_cellForRowAtIndexPath(Object* self, SEL sel, Object* table, Object* index_path) {
    auto cell = call_imp<Ref<Object>>(original_cellForRowAtIndexPath, self, sel, table, index_path);
    const auto& s = state();
    if (!s.LockscreenEnabled)
        return cell;
    auto item = msg<Ref<Object>>(msg<Ref<Object>>(self, "model"_sel), "listItemAtIndexPath:"_sel, index_path);
    auto section = msg<Ref<Object>>(msg<Ref<Object>>(item, "activeBulletin"_sel), "sectionID"_sel);
    auto icon = msg<Ref<Object>>(item, "iconImage"_sel);
    auto content = msg<Ref<Object>>(cell, "contentView"_sel);

    const Colour dominant = dominant_colour_of(icon);
    auto colour = tint_object(cell_colour_for(section, dominant));
    msg(content, "setBackgroundColor:"_sel, colour);
    if (row_sets_gradient(msg<int64_t>(index_path, "section"_sel), msg<int64_t>(index_path, "row"_sel),
                          s.tavoEffect))
        msg(msg<Ref<Object>>(self, "tavoGradient"_sel), "setColors:"_sel, clear_to(colour));
    if (s.LockscreenUnicornEnabled)
        start_cycling(self, content);
    if (s.AutoTextColor)
        colour_texts(cell, dominant);
    return cell;
}

void changeBackgroundColor(Object* self, SEL) {
    const auto& s = state();
    LockscreenUnicornList::shared().for_each_live([&](Object* view) {
        auto colour = next_cycling_colour(s.LockscreenAlpha, s.AllowSaturationLock, s.LockscreenSaturation);
        msg(view, "setBackgroundColor:"_sel, UIColor::with(colour));
    });
    auto [red, green, blue] = draw_cycling_channels();
    auto gradient_colour = UIColor::with(cycling_gradient_colour(red, green, blue, s.LockscreenAlpha));
    msg(msg<Ref<Object>>(self, "tavoGradient"_sel), "setColors:"_sel, clear_to(gradient_colour));
}

void prepareForRemoval(Object* self, SEL sel) {
    call_imp(original_prepareForRemoval, self, sel);
    if (auto timer = msg<Ref<Object>>(self, "colorTimer"_sel)) {
        msg(timer, "invalidate"_sel);
        Object* none = nullptr;
        msg(self, "setColorTimer:"_sel, none);
        LockscreenUnicornList::shared().release();
    }
    const auto& s = state();
    if (s.LockscreenEnabled && s.tavoEffect)
        msg(msg<Ref<Object>>(self, "tavoGradient"_sel), "setColors:"_sel, clear_to(UIColor::clearColor()));
}

} // namespace zimtone::tweak::lockscreen
