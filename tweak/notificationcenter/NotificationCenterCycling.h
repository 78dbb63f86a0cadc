// Colour cycling of Notification Center: registration of cells and headers, one timer per
// controller, and the tick that repaints every live registered view.
#pragma once

#include "platform/runtime/Runtime.h"
#include "tweak/notificationcenter/CyclingList.h"

namespace zimtone::tweak::notificationcenter {

using platform::runtime::SEL;

// Lists the entry and starts the controller's timer unless it has one.
void register_for_cycling(CyclingList& list, Object* entry, Object* controller);

// Added to both controllers: the timer's action.
void changeBackgroundColor(Object* self, SEL sel);

} // namespace zimtone::tweak::notificationcenter
