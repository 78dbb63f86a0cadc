#include "tweak/banner/BannerBackground.h"

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIColor.h"
#include "settings/SettingsState.h"
#include "tweak/AppTintSource.h"
#include "tweak/ApplicationList.h"
#include "tweak/CyclingColour.h"
#include "tweak/banner/BannerForeground.h"
#include "tweak/banner/banner_colours.h"

namespace zimtone::tweak::banner {

using namespace platform::runtime;
using namespace platform::foundation;
using platform::uikit::UIColor;
using zimtone::colour::Colour;
using zimtone::settings::state;

IMP original_setBannerContext = nullptr;
IMP original_layoutSubviews = nullptr;
IMP original_noteDidDismissWithReason = nullptr;

namespace {

constexpr int64_t kBackdropStyle = 3900;
constexpr double kBlurRadius = 1.0;

// The tint of a banner for an app and its icon's colour under the settings of the moment.
Ref<Object> tint_for(const Colour& dominant, const Object* app) {
    const auto& s = state();
    return tint_object(
        app_tint(tint_inputs_now(string_of(app), dominant, {s.AllowSaturation, s.BannerSaturation})));
}

} // namespace

void setBannerContext_withReplaceReason(Object* self, SEL sel, Object* context, int64_t reason) {
    call_imp(original_setBannerContext, self, sel, context, reason);
    if (!state().BannersEnabled)
        return;
    auto item = msg<Ref<Object>>(context, "item"_sel);
    if (auto seed = msg<Ref<Object>>(item, "seedBulletin"_sel)) {
        auto app = msg<Ref<Object>>(seed, "sectionID"_sel);
        auto icon = small_icon(app);
        msg(self, "addBackgroundWithImage:andAppName:"_sel, icon, app);
    } else {
        auto icon = msg<Ref<Object>>(item, "iconImage"_sel);
        msg(self, "addBackgroundWithImage:andAppName:"_sel, icon, ns(kUnknownApp));
    }
}

void addBackgroundWithImage_andAppName(Object* self, SEL, Object* image, Object* app) {
    if (msg<Ref<Object>>(self, "testBlur"_sel))
        return; // set up once per banner view
    auto backdrop = msg<Ref<Object>>(class_createInstance(objc_getClass("_UIBackdropView")),
                                     "initWithStyle:"_sel, kBackdropStyle);
    msg(self, "setTestBlur:"_sel, backdrop);
    const Colour dominant = dominant_colour_of(image);

    auto settings = msg<Ref<Object>>(backdrop, "inputSettings"_sel);
    msg(settings, "setColorTint:"_sel, tint_for(dominant, app));
    msg(settings, "setColorTintAlpha:"_sel, state().BannerAlpha);
    msg(backdrop, "setBlurRadiusSetOnce:"_sel, true);
    msg(backdrop, "setBlurRadius:"_sel, kBlurRadius);
    msg(backdrop, "setBlurQuality:"_sel, ns("default"));
    msg(self, "insertSubview:atIndex:"_sel, backdrop, int64_t{0});

    if (state().BannersUnicornEnabled && !msg<Ref<Object>>(self, "colorChangerTimer"_sel))
        msg(self, "setColorChangerTimer:"_sel, schedule_cycling_timer(self, "changeBlurColor"_sel));
    if (state().AutoTextColor)
        colour_foreground(self, dominant);
}

void changeBlurColor(Object* self, SEL) {
    const auto& s = state();
    auto colour = UIColor::with(next_cycling_colour(1.0, s.AllowSaturation, s.BannerSaturation));
    auto backdrop = msg<Ref<Object>>(self, "testBlur"_sel);
    msg(msg<Ref<Object>>(backdrop, "inputSettings"_sel), "setColorTint:"_sel, colour);
}

void layoutSubviews(Object* self, SEL sel) {
    call_imp(original_layoutSubviews, self, sel);
    if (!state().BannersEnabled)
        return;
    msg(msg<Ref<Object>>(self, "backdrop"_sel), "removeFromSuperview"_sel);
}

void noteDidDismissWithReason(Object* self, SEL sel, int64_t reason) {
    call_imp(original_noteDidDismissWithReason, self, sel, reason);
    if (auto timer = msg<Ref<Object>>(self, "colorChangerTimer"_sel)) {
        msg(timer, "invalidate"_sel);
        Object* none = nullptr;
        msg(self, "setColorChangerTimer:"_sel, none);
    }
}

} // namespace zimtone::tweak::banner
