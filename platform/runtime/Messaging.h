// Typed messaging: look the implementation up along the receiver's class chain and call it.
// A message to nil returns a value-initialised result; in checked builds the call's encoding
// must equal the method's, or the process stops with a message naming both.
#pragma once

#include <type_traits>

#include "platform/runtime/Class.h"
#include "platform/runtime/Encoding.h"

namespace platform::runtime {

// Arguments cross the call boundary as borrowed Object*, results as Ref<Object>.
template <class T> struct Canonical {
    using arg = T;
    using ret = T;
};
template <class T>
requires ObjectLike<T> &&(!std::is_same_v<T, Class>)struct Canonical<T> {
    using arg = Object*;
    using ret = Ref<Object>;
};

template <class T> typename Canonical<T>::arg to_canonical_arg(const T& v) {
    if constexpr (is_ref<T>::value)
        return v.get();
    else if constexpr (std::is_same_v<T, std::nullptr_t>)
        return static_cast<Object*>(nullptr);
    else if constexpr (ObjectPointer<T> && !std::is_same_v<T, Class>)
        return const_cast<Object*>(static_cast<const Object*>(v));
    else
        return v;
}

template <class R> R from_canonical_ret(typename Canonical<R>::ret&& v) {
    if constexpr (is_ref<R>::value) {
        using T = std::remove_pointer_t<decltype(std::declval<R>().get())>;
        if constexpr (std::is_same_v<T, Object>)
            return std::move(v);
        else
            return R(dynamic_cast<T*>(v.get()));
    } else {
        return std::move(v);
    }
}

[[noreturn]] void report_type_mismatch(const Object* self, SEL sel, const std::string* method_types,
                                       const std::string* call_types);
void report_unrecognized(const Object* self, SEL sel);
bool type_checks_enabled();

const Method* lookup_method(const Object* self, SEL sel);

template <class R, class... A>
using CanonicalImp = typename Canonical<R>::ret (*)(Object*, SEL, typename Canonical<A>::arg...);

// Calls an implementation directly, as a hook calls the one it saved. A null IMP yields zero.
template <class R = void, class... A> R call_imp(IMP imp, const Object* self, SEL sel, const A&... args) {
    static_assert(!ObjectPointer<R>, "object results are returned as Ref<T>");
    if (!imp)
        return R();
    auto fn = reinterpret_cast<CanonicalImp<R, A...>>(imp);
    auto* receiver = const_cast<Object*>(self);
    if constexpr (std::is_void_v<R>)
        fn(receiver, sel, to_canonical_arg(args)...);
    else
        return from_canonical_ret<R>(fn(receiver, sel, to_canonical_arg(args)...));
}

template <class R = void, class... A> R msg(const Object* self, SEL sel, const A&... args) {
    if (!self)
        return R();
    const Method* m = lookup_method(self, sel);
    if (!m) {
        report_unrecognized(self, sel);
        return R();
    }
    if (type_checks_enabled()) {
        const std::string* call = encoding_of<R, A...>();
        if (call != m->types)
            report_type_mismatch(self, sel, m->types, call);
    }
    return call_imp<R, A...>(m->imp, self, sel, args...);
}

template <class R = void, class T, class... A> R msg(const Ref<T>& self, SEL sel, const A&... args) {
    return msg<R, A...>(self.get(), sel, args...);
}

template <class F> IMP imp_cast(F fn) {
    return reinterpret_cast<IMP>(fn);
}

} // namespace platform::runtime
