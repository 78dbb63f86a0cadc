// The address of a row in a settings page's table: a section and a row within it.
#pragma once

#include "platform/runtime/Runtime.h"

namespace platform::preferences {

using platform::runtime::Class;
using platform::runtime::Ref;

// Pages keep one section; a row is the item's place in the page's list of items.
class PSIndexPath : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<PSIndexPath> indexPathForRow(int64_t row, int64_t section);

    int64_t row() const { return row_; }
    int64_t section() const { return section_; }

  private:
    int64_t row_{0};
    int64_t section_{0};
};

} // namespace platform::preferences
