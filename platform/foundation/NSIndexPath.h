// Index paths of table rows: a section and a row within it.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Ref;

class NSIndexPath : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<NSIndexPath> indexPathForRow(int64_t row, int64_t section);

    int64_t section() const { return section_; }
    int64_t row() const { return row_; }

  private:
    int64_t section_{0};
    int64_t row_{0};
};

} // namespace platform::foundation
