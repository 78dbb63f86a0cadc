#include "platform/uikit/table/NSIndexPath.h"

namespace platform::uikit {

using namespace platform::runtime;

namespace {
Ref<Object> indexPathForRowInSection(Object*, int64_t row, int64_t section) {
    return NSIndexPath::make(row, section);
}
} // namespace

Class NSIndexPath::runtime_class() {
    static Class cls = ClassBuilder<NSIndexPath>("NSIndexPath", NSObject::runtime_class())
                           .method<&NSIndexPath::row>("row")
                           .method<&NSIndexPath::section>("section")
                           .class_method<&indexPathForRowInSection>("indexPathForRow:inSection:")
                           .get();
    return cls;
}

Ref<NSIndexPath> NSIndexPath::make(int64_t row, int64_t section) {
    auto path = make_object<NSIndexPath>();
    path->row_ = row;
    path->section_ = section;
    return path;
}

} // namespace platform::uikit
