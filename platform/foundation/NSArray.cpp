#include "platform/foundation/NSArray.h"

#include <algorithm>

#include "platform/foundation/NSString.h"

namespace platform::foundation {

using namespace platform::runtime;

Class NSArray::runtime_class() {
    static Class cls = ClassBuilder<NSArray>("NSArray", NSObject::runtime_class())
                           .method<&NSArray::count>("count")
                           .method<&NSArray::objectAtIndex>("objectAtIndex:")
                           .method<&NSArray::firstObject>("firstObject")
                           .method<&NSArray::componentsJoinedByString>("componentsJoinedByString:")
                           .get();
    return cls;
}

Class NSMutableArray::runtime_class() {
    static Class cls = ClassBuilder<NSMutableArray>("NSMutableArray", NSArray::runtime_class())
                           .method<&NSMutableArray::addObject>("addObject:")
                           .method<&NSMutableArray::insertObjectAtIndex>("insertObject:atIndex:")
                           .method<&NSMutableArray::removeAllObjects>("removeAllObjects")
                           .get();
    return cls;
}

Ref<NSArray> NSArray::create(std::vector<Ref<Object>> items) {
    return make_object<NSArray>(std::move(items));
}
Ref<NSMutableArray> NSMutableArray::create(std::vector<Ref<Object>> items) {
    return make_object<NSMutableArray>(std::move(items));
}

Ref<NSString> NSArray::componentsJoinedByString(const NSString* separator) const {
    std::string joined;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (i && separator)
            joined += separator->str();
        if (auto* s = string_of(items_[i].get()))
            joined += *s;
    }
    return ns(std::move(joined));
}

void NSMutableArray::addObject(Object* obj) {
    if (obj)
        items_.emplace_back(obj);
}

void NSMutableArray::insertObjectAtIndex(Object* obj, uint64_t index) {
    if (!obj)
        return;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min<uint64_t>(index, items_.size())),
                  Ref<Object>(obj));
}

void NSMutableArray::removeObject(Object* obj) {
    std::erase_if(items_, [obj](const Ref<Object>& r) { return r.get() == obj; });
}

} // namespace platform::foundation
