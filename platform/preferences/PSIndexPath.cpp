#include "platform/preferences/PSIndexPath.h"

namespace platform::preferences {

using namespace platform::runtime;

Class PSIndexPath::runtime_class() {
    static Class cls = ClassBuilder<PSIndexPath>("PSIndexPath", NSObject::runtime_class())
                           .method<&PSIndexPath::row>("row")
                           .method<&PSIndexPath::section>("section")
                           .get();
    return cls;
}

Ref<PSIndexPath> PSIndexPath::indexPathForRow(int64_t row, int64_t section) {
    auto path = make_object<PSIndexPath>();
    path->row_ = row;
    path->section_ = section;
    return path;
}

} // namespace platform::preferences
