#include "tweak/HookTable.h"

namespace zimtone::tweak {

using namespace platform::runtime;

InstallCounts install_group(const HookGroup& group) {
    InstallCounts counts;
    for (const HookRow& row : group.rows) {
        Class cls = objc_getClass(row.class_name);
        if (cls && row.class_side)
            cls = object_getClass(cls);
        if (!cls)
            continue;
        SEL sel = sel_registerName(row.selector);
        if (row.kind == HookKind::Replace) {
            MSHookMessageEx(cls, sel, row.implementation, row.slot);
            if (*row.slot)
                ++counts.replaced;
        } else if (class_addMethod(cls, sel, row.implementation, row.types)) {
            ++counts.added;
        }
    }
    return counts;
}

} // namespace zimtone::tweak
