#include "tweak/quickreply/KeyBackdrop.h"

#include "platform/foundation/NSString.h"
#include "settings/SettingsState.h"
#include "tweak/quickreply/CyclingTimer.h"
#include "tweak/quickreply/MessagesColours.h"

namespace zimtone::tweak::quickreply {

using namespace platform::runtime;
using platform::foundation::ns;
using zimtone::settings::state;

IMP original_keyInitWithFrame = nullptr;

namespace {
constexpr uint64_t kUTF8Encoding = 4;
constexpr double kKeyBlurRadius = 4.0;
} // namespace

bool probed_package_installed() {
    Object* error = nullptr; // errors are shared objects: nothing to release
    auto text = msg<Ref<Object>>(objc_getClass("NSString"), "stringWithContentsOfFile:encoding:error:"_sel,
                                 ns(kProbedPackageList), kUTF8Encoding, &error);
    return text && !error;
}

Ref<Object> keyInitWithFrame(Object* self, SEL sel, CGRect frame, Object* keyplane, Object* key) {
    auto view = call_imp<Ref<Object>>(original_keyInitWithFrame, self, sel, frame, keyplane, key);
    if (!keyboard_enabled_now() || probed_package_installed())
        return view;

    // Without the host's backdrop there is no key shape to tint, so the key stays the host's.
    Object* host_backdrop = object_getIvarNamed(view, "_backdropView");
    if (!host_backdrop)
        return view;
    auto key_shape = msg<Ref<Object>>(host_backdrop, "layer"_sel);
    msg(host_backdrop, "removeFromSuperview"_sel);

    auto backdrop = msg<Ref<Object>>(class_createInstance(objc_getClass("_UIBackdropView")),
                                     "initWithStyle:"_sel, kKeyboardBackdropStyle);
    msg(view, "setBackdrop:"_sel, backdrop);
    auto settings = msg<Ref<Object>>(backdrop, "inputSettings"_sel);
    msg(settings, "setColorTint:"_sel, keyboard_tint_now());
    msg(settings, "setColorTintAlpha:"_sel, state().BannerAlpha);
    msg(backdrop, "setBlurRadiusSetOnce:"_sel, true);
    msg(backdrop, "setBlurRadius:"_sel, kKeyBlurRadius);
    msg(backdrop, "setBlurQuality:"_sel, ns("default"));
    msg(msg<Ref<Object>>(backdrop, "layer"_sel), "setMask:"_sel, key_shape);
    msg(view, "insertSubview:atIndex:"_sel, backdrop, int64_t{0});
    if (state().BannersUnicornEnabled)
        start_cycling(view);
    return view;
}

void keyChangeBackgroundColor(Object* self, SEL) {
    auto backdrop = msg<Ref<Object>>(self, "backdrop"_sel);
    msg(msg<Ref<Object>>(backdrop, "inputSettings"_sel), "setColorTint:"_sel, cycling_colour_now());
}

} // namespace zimtone::tweak::quickreply
