#include "platform/uikit/controllers/UIAlertAction.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIAlertAction::runtime_class() {
    static Class cls = ClassBuilder<UIAlertAction>("UIAlertAction", NSObject::runtime_class())
                           .method<&UIAlertAction::title>("title")
                           .method<&UIAlertAction::style>("style")
                           .get();
    return cls;
}

Ref<UIAlertAction> UIAlertAction::actionWithTitle(const std::string& title, int64_t style, Handler handler) {
    auto action = make_object<UIAlertAction>();
    action->title_ = foundation::ns(title);
    action->style_ = style;
    action->handler_ = std::move(handler);
    return action;
}

} // namespace platform::uikit
