// A bulletin-board observer: the lock screen's notification controller keeps one and names it
// when it adds a bulletin.
#pragma once

#include "platform/runtime/Runtime.h"

namespace platform::springboard {

class BBObserver : public runtime::NSObject {
  public:
    static runtime::Class runtime_class();
};

} // namespace platform::springboard
