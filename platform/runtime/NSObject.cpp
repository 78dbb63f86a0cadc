#include "platform/runtime/NSObject.h"

namespace platform::runtime {

namespace {
bool respondsToSelector(Object* self, SEL sel) {
    return class_respondsToSelector(self->isa(), sel);
}
bool isKindOfClass(Object* self, Class cls) {
    return cls && class_isSubclassOf(self->isa(), cls);
}
Class classOfObject(Object* self) {
    Class cls = self->isa();
    // A class object answers itself, an instance its class.
    return cls->is_metaclass() ? static_cast<Class>(self) : cls;
}
Ref<Object> init(Object* self) {
    return Ref<Object>(self);
}
} // namespace

Class NSObject::runtime_class() {
    static Class cls = ClassBuilder<NSObject>("NSObject", nullptr)
                           .function<&respondsToSelector>("respondsToSelector:")
                           .function<&isKindOfClass>("isKindOfClass:")
                           .function<&classOfObject>("class")
                           .function<&init>("init")
                           .get();
    return cls;
}

} // namespace platform::runtime
