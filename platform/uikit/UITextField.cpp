#include "platform/uikit/UITextField.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UITextField::runtime_class() {
    static Class cls = ClassBuilder<UITextField>("UITextField", UIView::runtime_class())
                           .method<&UITextField::text>("text")
                           .method<&UITextField::setText>("setText:")
                           .method<&UITextField::placeholder>("placeholder")
                           .method<&UITextField::setPlaceholder>("setPlaceholder:")
                           .method<&UITextField::keyboardType>("keyboardType")
                           .method<&UITextField::setKeyboardType>("setKeyboardType:")
                           .get();
    return cls;
}

} // namespace platform::uikit
