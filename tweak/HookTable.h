// The hook table: groups of rows (class, selector, kind, implementation, slot or encoding),
// installed in table order through the runtime.
#pragma once

#include <span>
#include <string_view>

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak {

using platform::runtime::IMP;

enum class HookKind { Replace, Add };

struct HookRow {
    const char* class_name;
    const char* selector;
    HookKind kind;
    IMP implementation;
    IMP* slot;         // replace rows: where the displaced implementation is kept
    const char* types; // add rows: the type encoding
    bool class_side{false};
};

// Rows as the tables read: `replace<&hook>("Class", "selector", &slot)`, and
// `add<&implementation>("Class", "selector")`, whose type encoding comes from the
// implementation's own signature.
template <auto F> HookRow replace(const char* class_name, const char* selector, IMP* slot) {
    return {class_name, selector, HookKind::Replace, platform::runtime::imp_cast(F), slot, nullptr};
}

// A class method, replaced on the class's metaclass.
template <auto F> HookRow replace_class_method(const char* class_name, const char* selector, IMP* slot) {
    return {class_name, selector, HookKind::Replace, platform::runtime::imp_cast(F), slot, nullptr, true};
}

template <auto F> HookRow add(const char* class_name, const char* selector) {
    return {class_name,    selector,
            HookKind::Add, platform::runtime::imp_cast(F),
            nullptr,       platform::runtime::encoding_of_implementation<F>()};
}

struct HookGroup {
    std::string_view name;
    std::span<const HookRow> rows;
};

// What an installation changed: rows on classes the process lacks change nothing and count nothing.
struct InstallCounts {
    int replaced{0};
    int added{0};
    InstallCounts& operator+=(const InstallCounts& o) {
        replaced += o.replaced;
        added += o.added;
        return *this;
    }
};

InstallCounts install_group(const HookGroup& group);

} // namespace zimtone::tweak
