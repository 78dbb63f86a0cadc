// The root of an on-screen view tree: views under a window are "in a window".
#pragma once

#include "platform/uikit/UIView.h"

namespace platform::uikit {

// Nothing beyond being a root: a view's window is the UIWindow at the root of its tree.
class UIWindow : public UIView {
  public:
    static Class runtime_class();

    UIWindow() = default;
};

} // namespace platform::uikit
