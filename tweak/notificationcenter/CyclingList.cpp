#include "tweak/notificationcenter/CyclingList.h"

#include <algorithm>

namespace zimtone::tweak::notificationcenter {

void CyclingList::drop_discarded() {
    std::erase_if(entries_, [](const Ref<Object>& e) { return e->retain_count() <= 1; });
}

void CyclingList::add(Object* entry) {
    if (!entry)
        return;
    Ref<Object> kept(entry);
    std::erase_if(entries_, [&](const Ref<Object>& e) { return e.get() == entry; });
    drop_discarded();
    entries_.insert(entries_.begin(), std::move(kept));
}

void CyclingList::for_each_live(const std::function<void(Object*)>& visit) {
    drop_discarded();
    // A snapshot, so that a visit that registers again cannot invalidate the walk.
    auto snapshot = entries_;
    for (auto& e : snapshot)
        visit(e.get());
}

CyclingList& cell_cycling_list() {
    static auto* list = new CyclingList; // process lifetime
    return *list;
}

CyclingList& header_cycling_list() {
    static auto* list = new CyclingList; // process lifetime
    return *list;
}

} // namespace zimtone::tweak::notificationcenter
