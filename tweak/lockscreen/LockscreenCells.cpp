#include "tweak/lockscreen/LockscreenCells.h"

#include "settings/SettingsState.h"

namespace zimtone::tweak::lockscreen {

using namespace platform::runtime;
using zimtone::settings::state;

IMP original_cellLayoutSubviews = nullptr;
IMP original_dismissButtonLayoutSubviews = nullptr;
IMP original_addLockContentUnderlay = nullptr;

void cellLayoutSubviews(Object* self, SEL sel) {
    call_imp(original_cellLayoutSubviews, self, sel);
    if (!state().LockscreenEnabled || !state().AutoTextColor)
        return;
    Object* label = object_getIvarNamed(self, "_unlockTextLabel");
    Object* none = nullptr;
    msg(msg<Ref<Object>>(label, "layer"_sel), "setCompositingFilter:"_sel, none);
    msg(label, "setTextColor:"_sel, msg<Ref<Object>>(self, "primaryTextColor"_sel));
}

void dismissButtonLayoutSubviews(Object* self, SEL sel) {
    call_imp(original_dismissButtonLayoutSubviews, self, sel);
    if (!state().LockscreenEnabled)
        return;
    msg(self, "setDrawsBottomSeparator:"_sel, false);
    msg(self, "setDrawsTopSeparator:"_sel, false);
}

void addLockContentUnderlayWithRequester(Object* self, SEL sel, Object* requester) {
    if (state().LockscreenBlurEnabled)
        call_imp(original_addLockContentUnderlay, self, sel, requester);
}

} // namespace zimtone::tweak::lockscreen
