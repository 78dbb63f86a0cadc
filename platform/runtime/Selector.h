// Interned selectors: one pointer per distinct name, compared by pointer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace platform::runtime {

struct Selector_;
using SEL = const Selector_*;

SEL sel_registerName(std::string_view name);
const char* sel_getName(SEL sel);

template <size_t N> struct FixedString {
    char data[N]{};
    constexpr FixedString(const char (&s)[N]) { std::copy_n(s, N, data); }
};

// "layoutSubviews"_sel interns once per call site and is a pointer load afterwards.
template <FixedString S> SEL operator""_sel() {
    static const SEL sel = sel_registerName(S.data);
    return sel;
}

} // namespace platform::runtime
