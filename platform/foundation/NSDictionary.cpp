#include "platform/foundation/NSDictionary.h"

#include <algorithm>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {
Ref<Object> dictionaryWithContentsOfFile(Object*, Object* path) {
    auto* p = string_of(path);
    return p ? Ref<Object>(NSDictionary::dictionaryWithContentsOfFile(*p)) : nullptr;
}
} // namespace

Class NSDictionary::runtime_class() {
    static Class cls = ClassBuilder<NSDictionary>("NSDictionary", NSObject::runtime_class())
                           .method<&NSDictionary::count>("count")
                           .method<&NSDictionary::objectForKey>("objectForKey:")
                           .method<&NSDictionary::objectForKey>("objectForKeyedSubscript:")
                           .method<&NSDictionary::allKeys>("allKeys")
                           .method<&NSDictionary::mutableCopy>("mutableCopy")
                           .class_method<&platform::foundation::dictionaryWithContentsOfFile>(
                               "dictionaryWithContentsOfFile:")
                           .get();
    return cls;
}

Class NSMutableDictionary::runtime_class() {
    static Class cls = ClassBuilder<NSMutableDictionary>("NSMutableDictionary", NSDictionary::runtime_class())
                           .method<&NSMutableDictionary::setObjectForKey>("setObject:forKey:")
                           .method<&NSMutableDictionary::removeObjectForKey>("removeObjectForKey:")
                           .get();
    return cls;
}

Ref<NSDictionary> NSDictionary::create() {
    return make_object<NSDictionary>();
}
Ref<NSMutableDictionary> NSMutableDictionary::create() {
    return make_object<NSMutableDictionary>();
}

Ref<NSDictionary> NSDictionary::dictionaryWithContentsOfFile(const std::string& device_path) {
    return read_dictionary_file(device_path);
}

bool NSDictionary::writeToFile(const std::string& device_path, bool) const {
    return write_property_list_file(device_path, this);
}

Ref<Object> NSDictionary::objectForKey(const NSString* key) const {
    return key ? get(key->str()) : nullptr;
}

Ref<Object> NSDictionary::get(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? nullptr : it->second;
}

Ref<NSArray> NSDictionary::allKeys() const {
    std::vector<Ref<Object>> keys;
    keys.reserve(keys_.size());
    for (auto& k : keys_)
        keys.emplace_back(ns(k));
    return NSArray::create(std::move(keys));
}

Ref<NSMutableDictionary> NSDictionary::mutableCopy() const {
    auto copy = NSMutableDictionary::create();
    for (auto& k : keys_)
        copy->set(k, values_.at(k));
    return copy;
}

void NSDictionary::store(const std::string& key, Ref<Object> value) {
    if (!value)
        return;
    auto [it, inserted] = values_.insert_or_assign(key, std::move(value));
    if (inserted)
        keys_.push_back(key);
}

void NSDictionary::erase(const std::string& key) {
    if (values_.erase(key))
        std::erase(keys_, key);
}

void NSMutableDictionary::setObjectForKey(Object* value, const NSString* key) {
    if (key)
        store(key->str(), Ref<Object>(value));
}

void NSMutableDictionary::removeObjectForKey(const NSString* key) {
    if (key)
        erase(key->str());
}

} // namespace platform::foundation
