#include "platform/uikit/controllers/UIAlertController.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIAlertController::runtime_class() {
    static Class cls = ClassBuilder<UIAlertController>("UIAlertController", UIViewController::runtime_class())
                           .method<&UIAlertController::message>("message")
                           .method<&UIAlertController::preferredStyle>("preferredStyle")
                           .method<&UIAlertController::addAction>("addAction:")
                           .get();
    return cls;
}

Ref<UIAlertController> UIAlertController::alertControllerWithTitle(const std::string& title,
                                                                   const std::string& message,
                                                                   int64_t style) {
    auto alert = make_object<UIAlertController>();
    alert->setTitle(foundation::ns(title));
    alert->message_ = foundation::ns(message);
    alert->style_ = style;
    return alert;
}

void UIAlertController::addAction(UIAlertAction* action) {
    if (action)
        actions_.emplace_back(action);
}

void UIAlertController::addTextFieldWithConfigurationHandler(
    const std::function<void(UITextField*)>& configure) {
    auto field = UIView::create<UITextField>(CGRect{{0, 0}, {240, 24}});
    if (configure)
        configure(field.get());
    text_fields_.push_back(field);
}

bool UIAlertController::tap_action(size_t index) {
    if (index >= actions_.size())
        return false;
    Ref<UIAlertAction> action = actions_[index];
    Ref<UIAlertController> keep(this); // the handler may run after the presenter let go of us
    dismissViewControllerAnimatedCompletion(true, nullptr);
    action->run_handler();
    return true;
}

} // namespace platform::uikit
