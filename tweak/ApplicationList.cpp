#include "tweak/ApplicationList.h"

namespace zimtone::tweak {

using namespace platform::runtime;

namespace {
Ref<Object>& cached() {
    static auto* list = new Ref<Object>; // process lifetime
    return *list;
}
} // namespace

void cache_application_list() {
    if (!cached())
        cached() = msg<Ref<Object>>(objc_getClass("ALApplicationList"), "sharedApplicationList"_sel);
}

Object* application_list() {
    return cached().get();
}

Ref<Object> small_icon(const Object* identifier) {
    return msg<Ref<Object>>(application_list(), "iconOfSize:forDisplayIdentifier:"_sel, uint64_t{29},
                            identifier);
}

} // namespace zimtone::tweak
