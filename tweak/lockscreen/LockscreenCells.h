// The lock screen's cell layout (unlock text), dismiss buttons (no separators) and underlay.
#pragma once

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::lockscreen {

using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::SEL;

// Saved host implementations, one slot per replaced method.
extern IMP original_cellLayoutSubviews;
extern IMP original_dismissButtonLayoutSubviews;
extern IMP original_addLockContentUnderlay;

void cellLayoutSubviews(Object* self, SEL sel);
void dismissButtonLayoutSubviews(Object* self, SEL sel);
// Calls the host only while the lock-screen blur is on; otherwise the request is swallowed.
void addLockContentUnderlayWithRequester(Object* self, SEL sel, Object* requester);

} // namespace zimtone::tweak::lockscreen
