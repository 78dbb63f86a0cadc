// Section headers: the host's vibrant backdrop removed at creation, the clear-button flag
// remembered, and each header coloured as its controller hands it out.
#pragma once

#include "platform/foundation/Geometry.h"
#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::notificationcenter {

using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

// Saved host implementations, one slot per replaced method.
extern IMP original_vibrantInitWithFrame;
extern IMP original_setHasClearButton;
extern IMP original_todayViewForHeader;
extern IMP original_notificationsViewForHeader;

Ref<Object> vibrantInitWithFrame(Object* self, SEL sel, platform::foundation::CGRect frame);
void setHasClearButton(Object* self, SEL sel, bool has);
Ref<Object> todayViewForHeader(Object* self, SEL sel, Object* table, int64_t section);
Ref<Object> notificationsViewForHeader(Object* self, SEL sel, Object* table, int64_t section);

} // namespace zimtone::tweak::notificationcenter
