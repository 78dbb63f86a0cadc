// Registers a C++ class with the runtime: its methods (member functions behind generated
// implementations of the canonical signature) and its object instance variables.
#pragma once

#include <type_traits>

#include "platform/runtime/Messaging.h"

namespace platform::runtime {

template <class T> typename Canonical<T>::ret to_canonical_ret(T&& v) {
    if constexpr (is_ref<std::decay_t<T>>::value)
        return Ref<Object>(std::forward<T>(v));
    else if constexpr (ObjectPointer<std::decay_t<T>> && !std::is_same_v<std::decay_t<T>, Class>)
        return Ref<Object>(const_cast<Object*>(static_cast<const Object*>(v)));
    else
        return std::forward<T>(v);
}

template <class T> T from_canonical_arg(typename Canonical<T>::arg v) {
    if constexpr (ObjectPointer<T> && !std::is_same_v<T, Class>) {
        using U = std::remove_pointer_t<T>;
        if constexpr (std::is_same_v<std::remove_cv_t<U>, Object>)
            return v;
        else
            return dynamic_cast<T>(v); // a receiver of the wrong class reads as nil
    } else {
        return v;
    }
}

template <auto F> struct MemberImp;

template <class C, class R, class... A, R (C::*F)(A...)> struct MemberImp<F> {
    using Ret = std::decay_t<R>;
    static typename Canonical<Ret>::ret call(Object* self, SEL,
                                             typename Canonical<std::decay_t<A>>::arg... args) {
        auto* obj = static_cast<C*>(self);
        if constexpr (std::is_void_v<R>)
            (obj->*F)(from_canonical_arg<std::decay_t<A>>(args)...);
        else
            return to_canonical_ret<Ret>((obj->*F)(from_canonical_arg<std::decay_t<A>>(args)...));
    }
    static const std::string* types() { return encoding_of<Ret, std::decay_t<A>...>(); }
};

template <class C, class R, class... A, R (C::*F)(A...) const> struct MemberImp<F> {
    using Ret = std::decay_t<R>;
    static typename Canonical<Ret>::ret call(Object* self, SEL,
                                             typename Canonical<std::decay_t<A>>::arg... args) {
        auto* obj = static_cast<const C*>(self);
        if constexpr (std::is_void_v<R>)
            (obj->*F)(from_canonical_arg<std::decay_t<A>>(args)...);
        else
            return to_canonical_ret<Ret>((obj->*F)(from_canonical_arg<std::decay_t<A>>(args)...));
    }
    static const std::string* types() { return encoding_of<Ret, std::decay_t<A>...>(); }
};

// Static functions `R f(Object* self, A...)` serve as class methods (self is the class object).
template <auto F> struct StaticImp;

template <class R, class... A, R (*F)(Object*, A...)> struct StaticImp<F> {
    using Ret = std::decay_t<R>;
    static typename Canonical<Ret>::ret call(Object* self, SEL,
                                             typename Canonical<std::decay_t<A>>::arg... args) {
        if constexpr (std::is_void_v<R>)
            F(self, from_canonical_arg<std::decay_t<A>>(args)...);
        else
            return to_canonical_ret<Ret>(F(self, from_canonical_arg<std::decay_t<A>>(args)...));
    }
    static const std::string* types() { return encoding_of<Ret, std::decay_t<A>...>(); }
};

template <class M, class T> struct MemberHolder { Ref<T> M::*member; };

template <class C> class ClassBuilder {
  public:
    // Defines the class (or finds it when already defined) under the given superclass.
    ClassBuilder(const char* name, Class superclass) {
        Factory factory;
        if constexpr (std::is_default_constructible_v<C> && !std::is_abstract_v<C>)
            factory = [] { return Ref<Object>::adopt(retained(new C)); };
        cls_ = objc_defineClass(name, superclass, std::move(factory));
    }

    template <auto F> ClassBuilder& method(const char* selector) {
        cls_->set_method(sel_registerName(selector),
                         Method{reinterpret_cast<IMP>(&MemberImp<F>::call), MemberImp<F>::types()});
        return *this;
    }

    // An instance method written as a free function of the receiver.
    template <auto F> ClassBuilder& function(const char* selector) {
        cls_->set_method(sel_registerName(selector),
                         Method{reinterpret_cast<IMP>(&StaticImp<F>::call), StaticImp<F>::types()});
        return *this;
    }

    template <auto F> ClassBuilder& class_method(const char* selector) {
        cls_->isa()->set_method(sel_registerName(selector),
                                Method{reinterpret_cast<IMP>(&StaticImp<F>::call), StaticImp<F>::types()});
        return *this;
    }

    template <class M, class T> ClassBuilder& ivar(const char* name, Ref<T> M::*member) {
        static_assert(std::is_base_of_v<M, C> || std::is_same_v<M, C>);
        auto* holder = new MemberHolder<M, T>{member}; // lives as long as the class
        Ivar_ iv;
        iv.name = name;
        iv.member = holder;
        iv.get = [](Object* self, const void* h) -> Object* {
            auto* obj = dynamic_cast<M*>(self);
            return obj ? (obj->*(static_cast<const MemberHolder<M, T>*>(h)->member)).get() : nullptr;
        };
        iv.set = [](Object* self, const void* h, Object* value) {
            auto* obj = dynamic_cast<M*>(self);
            if (!obj)
                return;
            T* typed = value ? dynamic_cast<T*>(value) : nullptr;
            if (value && !typed)
                return; // refuse a value of the wrong class rather than corrupt the slot
            obj->*(static_cast<const MemberHolder<M, T>*>(h)->member) = Ref<T>(typed);
        };
        cls_->add_ivar(std::move(iv));
        return *this;
    }

    Class get() const { return cls_; }
    operator Class() const { return cls_; }

  private:
    static Object* retained(Object* o) {
        o->retain();
        return o;
    }
    Class cls_;
};

// Makes a C++ object of a registered class without running any initialiser message.
template <class T, class... Args> Ref<T> make_object(Args&&... args) {
    auto* obj = new T(std::forward<Args>(args)...);
    obj->set_isa(T::runtime_class());
    obj->retain();
    return Ref<T>::adopt(obj);
}

} // namespace platform::runtime
