#include "platform/runtime/Hook.h"

namespace platform::runtime {

void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result) {
    if (result)
        *result = nullptr;
    if (!cls || !sel || !replacement)
        return;
    const Method* current = cls->lookup(sel);
    if (!current)
        return;
    Method previous = *current;
    cls->set_method(sel, Method{replacement, previous.types});
    if (result)
        *result = previous.imp;
}

} // namespace platform::runtime
