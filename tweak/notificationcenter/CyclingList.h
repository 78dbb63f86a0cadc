// The views that colour cycling repaints: newest first, each view once. A view that only the
// list still holds has been discarded by its table (its retain count is down to the list's own
// reference), so it is dropped rather than kept alive and repainted for nothing. That keeps the
// list as long as the number of live headers or cells, however often the host reuses them.
#pragma once

#include <functional>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::notificationcenter {

using platform::runtime::Object;
using platform::runtime::Ref;

class CyclingList {
  public:
    // Puts the entry first; an entry already listed moves there instead of standing twice.
    void add(Object* entry);
    // Each live entry in list order, after dropping the discarded ones.
    void for_each_live(const std::function<void(Object*)>& visit);
    // Live and not yet dropped entries alike.
    size_t size() const { return entries_.size(); }

  private:
    void drop_discarded();

    std::vector<Ref<Object>> entries_;
};

// Process-wide, shared by both Notification Center controllers and alive as long as the process.
CyclingList& cell_cycling_list();
CyclingList& header_cycling_list();

} // namespace zimtone::tweak::notificationcenter
