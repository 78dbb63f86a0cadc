// The root class: respondsToSelector:, isKindOfClass:, class, init. Written over Object* so
// that class objects, whose metaclasses inherit from the root, answer them too.
#pragma once

#include "platform/runtime/ClassBuilder.h"

namespace platform::runtime {

class NSObject : public Object {
  public:
    static Class runtime_class();
};

} // namespace platform::runtime
