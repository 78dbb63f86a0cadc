// Classes and metaclasses, their method tables and instance variables, and the registry by name.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>

#include "platform/runtime/Object.h"
#include "platform/runtime/Selector.h"

namespace platform::runtime {

using IMP = void (*)();

struct Method {
    IMP imp{nullptr};
    const std::string* types{nullptr};
};

// An object-typed instance variable, reached through accessors generated for its C++ member.
struct Ivar_ {
    std::string name;
    Object* (*get)(Object* self, const void* member){nullptr};
    void (*set)(Object* self, const void* member, Object* value){nullptr};
    const void* member{nullptr}; // points to a member-pointer holder owned by the class
};
using Ivar = const Ivar_*;

using Factory = std::function<Ref<Object>()>;

class Class_ final : public Object {
  public:
    Class_(std::string name, Class superclass, bool is_meta);

    const std::string& name() const { return name_; }
    Class superclass() const { return superclass_; }
    bool is_metaclass() const { return is_meta_; }

    // Looks the selector up along the superclass chain.
    const Method* lookup(SEL sel) const;
    const Method* own_method(SEL sel) const;
    void set_method(SEL sel, Method m) { methods_[sel] = m; }

    Ivar own_ivar(const std::string& name) const;
    void add_ivar(Ivar_ ivar);

    void set_factory(Factory f) { factory_ = std::move(f); }
    const Factory* nearest_factory() const;

  private:
    std::string name_;
    Class superclass_;
    bool is_meta_;
    std::unordered_map<SEL, Method> methods_;
    std::unordered_map<std::string, Ivar_> ivars_;
    Factory factory_;
};

Class objc_getClass(const char* name);
// The class of an object; for a class, its metaclass.
Class object_getClass(const Object* obj);
const char* class_getName(Class cls);
Class class_getSuperclass(Class cls);

// Defines a class and its metaclass; returns the existing class if the name is taken.
Class objc_defineClass(const char* name, Class superclass, Factory factory = {});

bool class_addMethod(Class cls, SEL sel, IMP imp, const char* types);
bool class_respondsToSelector(Class cls, SEL sel);
bool class_isSubclassOf(Class cls, Class ancestor);
const Method* class_getInstanceMethod(Class cls, SEL sel);

Ivar class_getInstanceVariable(Class cls, const char* name);
const char* ivar_getName(Ivar ivar);
// The object held in the variable (not retained), or nil for a null ivar or object.
Object* object_getIvar(Object* obj, Ivar ivar);
// Stores a value with strong semantics: retains the new value and releases the old one.
void object_setIvar(Object* obj, Ivar ivar, Object* value);
// Reads an object variable by name; nil when the class lacks it.
Object* object_getIvarNamed(Object* obj, const char* name);

// Creates an instance of the class (not yet initialised) through the nearest factory.
Ref<Object> class_createInstance(Class cls);

} // namespace platform::runtime
