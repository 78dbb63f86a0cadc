#include "platform/springboard/lockscreen/BBObserver.h"

namespace platform::springboard {

using namespace platform::runtime;

Class BBObserver::runtime_class() {
    static Class cls = ClassBuilder<BBObserver>("BBObserver", NSObject::runtime_class()).get();
    return cls;
}

} // namespace platform::springboard
