#include "platform/foundation/NSIndexPath.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {
Ref<NSIndexPath> indexPathMessage(Object*, int64_t row, int64_t section) {
    return NSIndexPath::indexPathForRow(row, section);
}
} // namespace

Class NSIndexPath::runtime_class() {
    static Class cls = ClassBuilder<NSIndexPath>("NSIndexPath", NSObject::runtime_class())
                           .method<&NSIndexPath::section>("section")
                           .method<&NSIndexPath::row>("row")
                           .class_method<&indexPathMessage>("indexPathForRow:inSection:")
                           .get();
    return cls;
}

Ref<NSIndexPath> NSIndexPath::indexPathForRow(int64_t row, int64_t section) {
    auto path = make_object<NSIndexPath>();
    path->row_ = row;
    path->section_ = section;
    return path;
}

} // namespace platform::foundation
