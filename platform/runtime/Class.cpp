#include "platform/runtime/Class.h"

#include <mutex>
#include <set>

#include "platform/runtime/Encoding.h"

namespace platform::runtime {

namespace {
struct Registry {
    std::mutex lock;
    std::unordered_map<std::string, Class> classes;
};
Registry& registry() {
    static auto* r = new Registry; // process lifetime: classes are never unregistered
    return *r;
}
} // namespace

const std::string* intern_encoding(const std::string& types) {
    static auto* table = new std::set<std::string>;
    static std::mutex lock;
    std::lock_guard guard(lock);
    return &*table->insert(types).first;
}

Class_::Class_(std::string name, Class superclass, bool is_meta)
    : name_(std::move(name)), superclass_(superclass), is_meta_(is_meta) {
    retain(); // classes are immortal
}

const Method* Class_::own_method(SEL sel) const {
    auto it = methods_.find(sel);
    return it == methods_.end() ? nullptr : &it->second;
}

const Method* Class_::lookup(SEL sel) const {
    for (const Class_* c = this; c; c = c->superclass_)
        if (auto* m = c->own_method(sel))
            return m;
    return nullptr;
}

Ivar Class_::own_ivar(const std::string& name) const {
    auto it = ivars_.find(name);
    return it == ivars_.end() ? nullptr : &it->second;
}

void Class_::add_ivar(Ivar_ ivar) {
    auto key = ivar.name;
    ivars_[key] = std::move(ivar);
}

const Factory* Class_::nearest_factory() const {
    for (const Class_* c = this; c; c = c->superclass_)
        if (c->factory_)
            return &c->factory_;
    return nullptr;
}

Class objc_getClass(const char* name) {
    if (!name)
        return nullptr;
    auto& r = registry();
    std::lock_guard guard(r.lock);
    auto it = r.classes.find(name);
    return it == r.classes.end() ? nullptr : it->second;
}

Class object_getClass(const Object* obj) {
    return obj ? obj->isa() : nullptr;
}
const char* class_getName(Class cls) {
    return cls ? cls->name().c_str() : "nil";
}
Class class_getSuperclass(Class cls) {
    return cls ? cls->superclass() : nullptr;
}

Class objc_defineClass(const char* name, Class superclass, Factory factory) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    if (auto it = r.classes.find(name); it != r.classes.end())
        return it->second;
    auto* cls = new Class_(name, superclass, false);
    // As in the original runtime, the root metaclass inherits from the root class, so class
    // objects answer the root's instance methods (respondsToSelector:, isKindOfClass:).
    Class super_meta = superclass ? superclass->isa() : cls;
    auto* meta = new Class_(name, super_meta, true);
    cls->set_isa(meta);
    meta->set_isa(superclass ? super_meta->isa() : meta);
    cls->set_factory(std::move(factory));
    r.classes.emplace(name, cls);
    return cls;
}

bool class_addMethod(Class cls, SEL sel, IMP imp, const char* types) {
    if (!cls || !sel || !imp || !types)
        return false;
    if (cls->own_method(sel))
        return false; // the class's own implementation stays
    cls->set_method(sel, Method{imp, intern_encoding(types)});
    return true;
}

const Method* class_getInstanceMethod(Class cls, SEL sel) {
    return cls ? cls->lookup(sel) : nullptr;
}
bool class_respondsToSelector(Class cls, SEL sel) {
    return class_getInstanceMethod(cls, sel) != nullptr;
}

bool class_isSubclassOf(Class cls, Class ancestor) {
    for (Class c = cls; c; c = c->superclass())
        if (c == ancestor)
            return true;
    return false;
}

Ivar class_getInstanceVariable(Class cls, const char* name) {
    if (!name)
        return nullptr;
    for (Class c = cls; c; c = c->superclass())
        if (auto iv = c->own_ivar(name))
            return iv;
    return nullptr;
}

const char* ivar_getName(Ivar ivar) {
    return ivar ? ivar->name.c_str() : nullptr;
}

Object* object_getIvar(Object* obj, Ivar ivar) {
    if (!obj || !ivar)
        return nullptr;
    return ivar->get(obj, ivar->member);
}

void object_setIvar(Object* obj, Ivar ivar, Object* value) {
    if (!obj || !ivar)
        return;
    ivar->set(obj, ivar->member, value);
}

Object* object_getIvarNamed(Object* obj, const char* name) {
    return obj ? object_getIvar(obj, class_getInstanceVariable(obj->isa(), name)) : nullptr;
}

Ref<Object> class_createInstance(Class cls) {
    if (!cls || cls->is_metaclass())
        return nullptr;
    auto* factory = cls->nearest_factory();
    if (!factory)
        return nullptr;
    Ref<Object> obj = (*factory)();
    if (obj)
        obj->set_isa(cls);
    return obj;
}

} // namespace platform::runtime
