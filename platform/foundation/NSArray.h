// Ordered collections of objects: NSArray and its mutable subclass.
#pragma once

#include <vector>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;
class NSString;

class NSArray : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<NSArray> create(std::vector<Ref<Object>> items);

    NSArray() = default;
    explicit NSArray(std::vector<Ref<Object>> items) : items_(std::move(items)) {}

    uint64_t count() const { return items_.size(); }
    // nil past the end rather than an exception: callers treat a missing element as absent.
    Ref<Object> objectAtIndex(uint64_t index) const {
        return index < items_.size() ? items_[index] : nullptr;
    }
    Ref<Object> firstObject() const { return objectAtIndex(0); }
    Ref<NSString> componentsJoinedByString(const NSString* separator) const;
    const std::vector<Ref<Object>>& items() const { return items_; }

  protected:
    std::vector<Ref<Object>> items_;
};

class NSMutableArray : public NSArray {
  public:
    static Class runtime_class();
    static Ref<NSMutableArray> create(std::vector<Ref<Object>> items = {});

    using NSArray::NSArray;
    void addObject(Object* obj);
    void insertObjectAtIndex(Object* obj, uint64_t index);
    void removeObject(Object* obj);
    void removeAllObjects() { items_.clear(); }
    std::vector<Ref<Object>>& mutable_items() { return items_; }
};

} // namespace platform::foundation
