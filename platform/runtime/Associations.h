// Associated objects: values stored per object under a key, released with the object.
#pragma once

#include "platform/runtime/Object.h"

namespace platform::runtime {

enum objc_AssociationPolicy : unsigned {
    OBJC_ASSOCIATION_ASSIGN = 0,
    OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1,
};

// Every association is held strongly; ASSIGN is accepted but treated as retaining, because a
// weak-unsafe slot would dangle as soon as the value died.
void objc_setAssociatedObject(Object* object, const void* key, Object* value, objc_AssociationPolicy policy);
Object* objc_getAssociatedObject(const Object* object, const void* key);

} // namespace platform::runtime
