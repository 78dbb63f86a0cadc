#include "platform/runtime/Associations.h"

#include <algorithm>

namespace platform::runtime {

void objc_setAssociatedObject(Object* object, const void* key, Object* value, objc_AssociationPolicy) {
    if (!object)
        return;
    auto& entries = object->ensure_associations().entries;
    auto it = std::find_if(entries.begin(), entries.end(), [key](auto& e) { return e.first == key; });
    if (value)
        value->retain();
    if (it == entries.end()) {
        if (value)
            entries.emplace_back(key, value);
        return;
    }
    Object* old = it->second;
    if (value)
        it->second = value;
    else
        entries.erase(it);
    if (old)
        old->release(); // after the store: releasing may run code that reads this slot
}

Object* objc_getAssociatedObject(const Object* object, const void* key) {
    if (!object || !object->associations())
        return nullptr;
    for (auto& [k, v] : object->associations()->entries)
        if (k == key)
            return v;
    return nullptr;
}

} // namespace platform::runtime
