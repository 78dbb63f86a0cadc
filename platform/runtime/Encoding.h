// Type encodings derived from C++ types, so a send can be checked against the method it reaches.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/runtime/Object.h"
#include "platform/runtime/Selector.h"

namespace platform::runtime {

template <class T> struct is_ref : std::false_type {};
template <class T> struct is_ref<Ref<T>> : std::true_type {};

template <class T>
concept ObjectPointer = std::is_pointer_v<T> && !std::is_same_v<T, SEL> &&
                        std::is_base_of_v<Object, std::remove_cv_t<std::remove_pointer_t<T>>>;

template <class T>
concept ObjectLike = ObjectPointer<T> || is_ref<T>::value || std::is_same_v<T, std::nullptr_t>;

// Specialised by headers that define value types passed in messages (geometry, ranges).
template <class T, class Enable = void> struct TypeEncoding;

template <> struct TypeEncoding<void> { static constexpr const char* value = "v"; };
template <> struct TypeEncoding<bool> { static constexpr const char* value = "B"; };
template <> struct TypeEncoding<double> { static constexpr const char* value = "d"; };
template <> struct TypeEncoding<float> { static constexpr const char* value = "f"; };
template <> struct TypeEncoding<int32_t> { static constexpr const char* value = "i"; };
template <> struct TypeEncoding<uint32_t> { static constexpr const char* value = "I"; };
template <> struct TypeEncoding<int64_t> { static constexpr const char* value = "q"; };
template <> struct TypeEncoding<uint64_t> { static constexpr const char* value = "Q"; };
template <> struct TypeEncoding<SEL> { static constexpr const char* value = ":"; };
template <> struct TypeEncoding<Class> { static constexpr const char* value = "#"; };
template <> struct TypeEncoding<Object**> { static constexpr const char* value = "^@"; };
template <class T> struct TypeEncoding<T, std::enable_if_t<ObjectLike<T> && !std::is_same_v<T, Class>>> {
    static constexpr const char* value = "@";
};

// Interns encoding strings so that checks compare pointers.
const std::string* intern_encoding(const std::string& types);

template <class R, class... A> const std::string* encoding_of() {
    static const std::string* interned = [] {
        std::string s = TypeEncoding<std::decay_t<R>>::value;
        s += "@:";
        ((s += TypeEncoding<std::decay_t<A>>::value), ...);
        return intern_encoding(s);
    }();
    return interned;
}

// The encoding of an implementation written as `R f(Object* self, SEL, A...)`, the shape of every
// method added to a class, read off its C++ signature so that the two cannot drift apart.
template <auto F> struct ImplementationEncoding;

template <class R, class... A, R (*F)(Object*, SEL, A...)> struct ImplementationEncoding<F> {
    static const std::string* types() { return encoding_of<std::decay_t<R>, std::decay_t<A>...>(); }
};

// The same as a string that lives as long as the process, for class_addMethod.
template <auto F> const char* encoding_of_implementation() {
    return ImplementationEncoding<F>::types()->c_str();
}

} // namespace platform::runtime
