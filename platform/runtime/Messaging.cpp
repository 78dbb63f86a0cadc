#include "platform/runtime/Messaging.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <utility>

namespace platform::runtime {

const Method* lookup_method(const Object* self, SEL sel) {
    Class cls = self->isa();
    return cls ? cls->lookup(sel) : nullptr;
}

bool type_checks_enabled() {
#ifdef ZIMTONE_TYPE_CHECKS
    return true;
#else
    return false;
#endif
}

void report_type_mismatch(const Object* self, SEL sel, const std::string* method_types,
                          const std::string* call_types) {
    Class cls = self->isa();
    std::fprintf(stderr, "zimtone runtime: %c[%s %s] is %s but was sent as %s\n",
                 cls && cls->is_metaclass() ? '+' : '-', class_getName(cls), sel_getName(sel),
                 method_types ? method_types->c_str() : "?", call_types->c_str());
    std::abort();
}

// An unknown selector is reported once per class and selector and answers zero, so a host
// never dies of a message that only a newer or older host version understands.
void report_unrecognized(const Object* self, SEL sel) {
    static std::mutex lock;
    static auto* seen = new std::set<std::pair<Class, SEL>>;
    std::lock_guard guard(lock);
    if (seen->emplace(self->isa(), sel).second)
        std::fprintf(stderr, "zimtone runtime: %s does not respond to %s\n", class_getName(self->isa()),
                     sel_getName(sel));
}

} // namespace platform::runtime
