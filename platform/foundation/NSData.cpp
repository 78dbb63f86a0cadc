// Opaque data and date values: a class that answers no value message.
#include "platform/foundation/NSData.h"

namespace platform::foundation {

using namespace platform::runtime;

Class NSData::runtime_class() {
    static Class cls = ClassBuilder<NSData>("NSData", NSObject::runtime_class()).get();
    return cls;
}

Ref<NSData> NSData::dataWithBytes(std::string bytes) {
    return make_object<NSData>(Kind::Bytes, std::move(bytes), 0, 0);
}

Ref<NSData> NSData::dateWithSeconds(int32_t seconds, int32_t microseconds) {
    return make_object<NSData>(Kind::Date, std::string(), seconds, microseconds);
}

} // namespace platform::foundation
