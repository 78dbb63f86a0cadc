// Notification Center cells: background by section app and row, automatic text colours of
// bulletin cells, and registration for colour cycling.
#pragma once

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::notificationcenter {

using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

extern IMP original_todayCellForRow;
extern IMP original_notificationsCellForRow;

Ref<Object> todayCellForRow(Object* self, SEL sel, Object* table, Object* index_path);
Ref<Object> notificationsCellForRow(Object* self, SEL sel, Object* table, Object* index_path);

} // namespace zimtone::tweak::notificationcenter
