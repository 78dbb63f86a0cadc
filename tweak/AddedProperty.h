// Properties the tweak adds to host classes: the value is an associated object of the receiver,
// keyed by the getter's selector, retained and non-atomic. A getter answers the stored object or
// nil; a BOOL property is stored as a number and reads NO when absent.
#pragma once

#include "platform/foundation/NSNumber.h"
#include "platform/runtime/Runtime.h"

namespace zimtone::tweak {

using platform::runtime::FixedString;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

inline Object* added_property(const Object* self, SEL getter) {
    return platform::runtime::objc_getAssociatedObject(self, getter);
}

inline void set_added_property(Object* self, SEL getter, Object* value) {
    platform::runtime::objc_setAssociatedObject(self, getter, value,
                                                platform::runtime::OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

// Implementations for class_addMethod: "@@:" and "v@:@" for an object property named Getter.
template <FixedString Getter> Ref<Object> property_getter(Object* self, SEL) {
    return Ref<Object>(added_property(self, platform::runtime::operator""_sel<Getter>()));
}

template <FixedString Getter> void property_setter(Object* self, SEL, Object* value) {
    set_added_property(self, platform::runtime::operator""_sel<Getter>(), value);
}

// "B@:" and "v@:B" for a BOOL property named Getter.
template <FixedString Getter> bool bool_property_getter(Object* self, SEL) {
    auto* stored = dynamic_cast<platform::foundation::NSNumber*>(
        added_property(self, platform::runtime::operator""_sel<Getter>()));
    return stored && stored->boolValue();
}

template <FixedString Getter> void bool_property_setter(Object* self, SEL, bool value) {
    set_added_property(self, platform::runtime::operator""_sel<Getter>(),
                       platform::foundation::NSNumber::numberWithBool(value));
}

} // namespace zimtone::tweak
