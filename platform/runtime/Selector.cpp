#include "platform/runtime/Selector.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace platform::runtime {

struct Selector_ {
    std::string name;
};

namespace {
struct SelectorTable {
    std::mutex lock;
    std::unordered_map<std::string_view, std::unique_ptr<Selector_>> by_name;
};
SelectorTable& table() {
    static auto* t = new SelectorTable; // process lifetime: selectors are never freed
    return *t;
}
} // namespace

SEL sel_registerName(std::string_view name) {
    auto& t = table();
    std::lock_guard guard(t.lock);
    if (auto it = t.by_name.find(name); it != t.by_name.end())
        return it->second.get();
    auto sel = std::make_unique<Selector_>(Selector_{std::string(name)});
    std::string_view key = sel->name;
    return t.by_name.emplace(key, std::move(sel)).first->second.get();
}

const char* sel_getName(SEL sel) {
    return sel ? sel->name.c_str() : "<null selector>";
}

} // namespace platform::runtime
