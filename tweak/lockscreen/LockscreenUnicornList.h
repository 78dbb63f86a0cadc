// The lock screen's colour-cycling views: one process-wide list, owned here for the life of the
// process, created on first use and released when a list view with a timer leaves the lock
// screen. Newest entries stand first and each view is kept once. A view whose superview is gone
// has been discarded with its cell, so it is dropped at the next insertion or tick: the list
// never grows past the cells that are alive, and every live entry still changes at each tick.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::lockscreen {

using platform::runtime::Object;
using platform::runtime::Ref;

class LockscreenUnicornList {
  public:
    static LockscreenUnicornList& shared();

    // Creates the list when it does not exist; a view already listed is not added again.
    void insert(Object* view);
    // Drops discarded entries, then gives every live one to paint, in list order.
    void for_each_live(const std::function<void(Object*)>& paint);
    void release() { views_.reset(); }
    bool exists() const { return views_.has_value(); }
    size_t size() const { return views_ ? views_->size() : 0; }

  private:
    void drop_discarded();

    std::optional<std::vector<Ref<Object>>> views_;
};

} // namespace zimtone::tweak::lockscreen
