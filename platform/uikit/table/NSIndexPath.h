// Index paths: a row within a section, the address a table gives each of its cells.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace platform::uikit {

using runtime::Class;
using runtime::Ref;

class NSIndexPath : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<NSIndexPath> make(int64_t row, int64_t section);

    int64_t row() const { return row_; }
    int64_t section() const { return section_; }

  private:
    int64_t row_{0};
    int64_t section_{0};
};

} // namespace platform::uikit
