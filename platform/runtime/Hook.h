// Method replacement: swap in a new implementation and hand back the one that was in force.
#pragma once

#include "platform/runtime/Class.h"

namespace platform::runtime {

// For a method the class only inherits, the replacement is added to the class itself and the
// inherited implementation is handed back, so the superclass keeps its own behaviour.
// A null class, or a selector that nothing in the chain implements, changes nothing and
// stores null in *result.
void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result);

} // namespace platform::runtime
