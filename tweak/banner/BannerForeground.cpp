#include "tweak/banner/BannerForeground.h"

#include <unordered_map>

#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIColor.h"
#include "settings/SettingsState.h"
#include "tweak/banner/banner_colours.h"

namespace zimtone::tweak::banner {

using namespace platform::runtime;
using namespace platform::foundation;
using platform::uikit::UIColor;
using zimtone::colour::TextColour;
using zimtone::settings::state;

IMP original_textViewLayoutSubviews = nullptr;
IMP original_vibrantButtonLayoutSubviews = nullptr;

namespace {

constexpr uint64_t kControlStateNormal = 0;

// Set by each banner's foreground colouring, read by every text view; process-wide by design.
Ref<Object>& shared_text_colour() {
    static auto* colour = new Ref<Object>;
    return *colour;
}

// Looked up by name once found, and kept for the life of the process.
Class kept_class(const char* name) {
    static auto* found = new std::unordered_map<std::string, Class>;
    if (auto it = found->find(name); it != found->end())
        return it->second;
    Class cls = objc_getClass(name);
    if (cls)
        found->emplace(name, cls);
    return cls;
}

bool is_kind(const Object* obj, const char* class_name) {
    Class cls = kept_class(class_name);
    return cls && msg<bool>(obj, "isKindOfClass:"_sel, cls);
}

} // namespace

Ref<Object> shared_banner_text_colour() {
    return shared_text_colour() ? shared_text_colour() : Ref<Object>(UIColor::whiteColor());
}

void colour_foreground(Object* banner_view, const zimtone::colour::Colour& dominant) {
    const auto& s = state();
    const TextColour automatic = zimtone::colour::reverseColor(dominant);
    const Ref<Object> text_colour = UIColor::with(zimtone::colour::colourOf(automatic));
    auto pull_down = msg<Ref<Object>>(banner_view, "pullDownView"_sel);
    if (is_kind(pull_down, "SBBannerButtonView")) {
        const Ref<Object> title_colour =
            UIColor::with(button_title_colour(automatic, s.AllowSaturation, s.BannerSaturation));
        auto buttons = msg<Ref<Object>>(pull_down, "buttons"_sel);
        uint64_t count = msg<uint64_t>(buttons, "count"_sel);
        for (uint64_t i = 0; i < count; ++i) {
            auto button = msg<Ref<Object>>(buttons, "objectAtIndex:"_sel, i);
            if (!is_kind(button, "SBNotificationVibrantButton"))
                continue;
            msg(button, "setOverlayButtonTitleColor:"_sel, title_colour);
        }
    }
    Object* content = object_getIvarNamed(banner_view, "_contentView");
    Object* text_view = object_getIvarNamed(content, "_textView");
    Object* no_filter = nullptr;
    auto date_label = msg<Ref<Object>>(text_view, "relevanceDateLabel"_sel);
    msg(msg<Ref<Object>>(date_label, "layer"_sel), "setCompositingFilter:"_sel, no_filter);
    msg(content, "_setRelevanceDateColor:"_sel, text_colour);
    shared_text_colour() = text_colour;
    msg(text_view, "setNeedsDisplay"_sel);
    Object* grabber = object_getIvarNamed(banner_view, "_grabberView");
    msg(msg<Ref<Object>>(grabber, "layer"_sel), "setCompositingFilter:"_sel, no_filter);
    msg(banner_view, "_setGrabberColor:"_sel, text_colour);
}

Ref<Object> changeAttributesOf(Object*, SEL, Object* attributed) {
    if (!attributed)
        return nullptr;
    auto copy = msg<Ref<Object>>(attributed, "mutableCopy"_sel);
    NSRange whole{0, msg<uint64_t>(copy, "length"_sel)};
    msg(copy, "addAttribute:value:range:"_sel, ns(NSForegroundColorAttributeName),
        shared_banner_text_colour(), whole);
    return copy;
}

void setOverlayButtonTitleColor(Object* self, SEL, Object* colour) {
    msg(object_getIvarNamed(self, "_overlayButton"), "setTitleColor:forState:"_sel, colour,
        kControlStateNormal);
}

void textViewLayoutSubviews(Object* self, SEL sel) {
    call_imp(original_textViewLayoutSubviews, self, sel);
    const auto& s = state();
    if (!s.BannersEnabled || !s.AutoTextColor)
        return;
    for (const char* name : {"_primaryTextAttributedString", "_primaryTextAttributedStringComponent",
                             "_secondaryTextAttributedString", "_alternateSecondaryTextAttributedString"}) {
        Ivar ivar = class_getInstanceVariable(object_getClass(self), name);
        if (!ivar)
            continue;
        auto recoloured = msg<Ref<Object>>(self, "changeAttributesOf:"_sel, object_getIvar(self, ivar));
        object_setIvar(self, ivar, recoloured);
    }
    Object* label = object_getIvarNamed(self, "_relevanceDateLabel");
    auto text = msg<Ref<Object>>(label, "attributedText"_sel);
    msg(label, "setAttributedText:"_sel, msg<Ref<Object>>(self, "changeAttributesOf:"_sel, text));
    msg(label, "setTextColor:"_sel, shared_banner_text_colour());
}

void vibrantButtonLayoutSubviews(Object* self, SEL sel) {
    call_imp(original_vibrantButtonLayoutSubviews, self, sel);
    if (!state().BannersEnabled)
        return;
    msg(object_getIvarNamed(self, "_vibrantButton"), "removeFromSuperview"_sel);
}

} // namespace zimtone::tweak::banner
