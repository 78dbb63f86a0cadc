// The lock-screen notification list: coloured cells, the gradient above them and colour cycling.
#pragma once

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::lockscreen {

using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

// Saved host implementations, one slot per replaced method.
extern IMP original_listLayoutSubviews;
extern IMP original_cellForRowAtIndexPath;
extern IMP original_prepareForRemoval;

void listLayoutSubviews(Object* self, SEL sel);
Ref<Object> tableView_cellForRowAtIndexPath(Object* self, SEL sel, Object* table, Object* index_path);
void prepareForRemoval(Object* self, SEL sel);

// Added to SBLockScreenNotificationListView: the colour timer's action.
void changeBackgroundColor(Object* self, SEL sel);

} // namespace zimtone::tweak::lockscreen
