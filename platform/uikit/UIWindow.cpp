#include "platform/uikit/UIWindow.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIWindow::runtime_class() {
    static Class cls = ClassBuilder<UIWindow>("UIWindow", UIView::runtime_class()).get();
    return cls;
}

} // namespace platform::uikit
