// String-keyed dictionaries that keep their insertion order: NSDictionary and its mutable subclass.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;
class NSArray;
class NSString;

class NSDictionary : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<NSDictionary> create();
    // nil unless the file is a property list (XML or binary) whose root is a dictionary.
    static Ref<NSDictionary> dictionaryWithContentsOfFile(const std::string& device_path);

    uint64_t count() const { return keys_.size(); }
    Ref<Object> objectForKey(const NSString* key) const;
    Ref<Object> get(const std::string& key) const;
    Ref<NSArray> allKeys() const;
    const std::vector<std::string>& keys() const { return keys_; }
    Ref<class NSMutableDictionary> mutableCopy() const;
    // Atomic write as a property list; false when the file could not be written.
    bool writeToFile(const std::string& device_path, bool atomically) const;

  protected:
    void store(const std::string& key, Ref<Object> value);
    void erase(const std::string& key);

  private:
    std::vector<std::string> keys_;
    std::unordered_map<std::string, Ref<Object>> values_;
};

class NSMutableDictionary : public NSDictionary {
  public:
    static Class runtime_class();
    static Ref<NSMutableDictionary> create();

    void setObjectForKey(Object* value, const NSString* key);
    void set(const std::string& key, Ref<Object> value) { store(key, std::move(value)); }
    void removeObjectForKey(const NSString* key);
};

} // namespace platform::foundation
