#include "tweak/quickreply/KeyboardTint.h"

#include "settings/SettingsState.h"
#include "tweak/quickreply/CyclingTimer.h"
#include "tweak/quickreply/MessagesColours.h"

namespace zimtone::tweak::quickreply {

using namespace platform::runtime;
using zimtone::settings::state;

IMP original_backdropStyleForStyle = nullptr;
IMP original_lightKeyboard = nullptr;
IMP original_layoutInitWithFrame = nullptr;
IMP original_predictionTextColor = nullptr;
IMP original_predictionLayoutSubviews = nullptr;

int64_t backdropStyleForStyle(Object* self, SEL sel, int64_t style) {
    return call_imp<int64_t>(original_backdropStyleForStyle, self, sel,
                             keyboard_backdrop_style(style, keyboard_enabled_now()));
}

bool lightKeyboard(Object* self, SEL sel) {
    if (keyboard_enabled_now())
        return false;
    return call_imp<bool>(original_lightKeyboard, self, sel);
}

Ref<Object> layoutInitWithFrame(Object* self, SEL sel, CGRect frame) {
    auto layout = call_imp<Ref<Object>>(original_layoutInitWithFrame, self, sel, frame);
    if (!keyboard_enabled_now())
        return layout;
    msg(layout, "setBackgroundColor:"_sel, keyboard_background_now());
    if (state().BannersUnicornEnabled)
        start_cycling(layout);
    return layout;
}

Ref<Object> predictionTextColor(Object* self, SEL sel) {
    if (keyboard_enabled_now() && state().AutoTextColor)
        return prediction_text_colour_now();
    return call_imp<Ref<Object>>(original_predictionTextColor, self, sel);
}

void predictionLayoutSubviews(Object* self, SEL sel) {
    call_imp(original_predictionLayoutSubviews, self, sel);
    if (!keyboard_enabled_now())
        return;
    msg(self, "setBackgroundColor:"_sel, keyboard_background_now());
    if (state().BannersUnicornEnabled && !msg<Ref<Object>>(self, "colorChangerTimer"_sel))
        msg(self, "setColorChangerTimer:"_sel, start_cycling(self));
}

void changeBackgroundColor(Object* self, SEL) {
    msg(self, "setBackgroundColor:"_sel, cycling_background_now());
}

} // namespace zimtone::tweak::quickreply
