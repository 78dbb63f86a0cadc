// A colour-cycling timer that lives no longer than its view.
//
// A timer keeps its target alive, so a timer aimed at the view itself would keep every keyboard
// ever shown alive and repainting for the life of the process. Instead the timer's target is a
// small relay that holds the view weakly and passes each tick on as changeBackgroundColor, and
// the view holds (as an associated object) a guard that invalidates the timer when the view is
// deallocated, that is, as soon as its host lets it go. While the view lives, it cycles exactly
// as before, on screen or off.
#pragma once

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::quickreply {

using platform::runtime::Object;
using platform::runtime::Ref;

// Schedules a repeating cycling timer that sends changeBackgroundColor to the view, tied to
// the view's life as above; answers the timer (an NSTimer), or nil for a nil view.
Ref<Object> start_cycling(Object* view);

} // namespace zimtone::tweak::quickreply
