// Alerts: a title, a message, text fields and action buttons, presented modally.
#pragma once

#include <functional>
#include <vector>

#include "platform/uikit/UITextField.h"
#include "platform/uikit/controllers/UIAlertAction.h"
#include "platform/uikit/controllers/UIViewController.h"

namespace platform::uikit {

enum UIAlertControllerStyle : int64_t {
    UIAlertControllerStyleActionSheet = 0,
    UIAlertControllerStyleAlert = 1,
};

class UIAlertController : public UIViewController {
  public:
    static Class runtime_class();
    static Ref<UIAlertController> alertControllerWithTitle(const std::string& title,
                                                           const std::string& message, int64_t style);

    foundation::NSString* message() const { return message_.get(); }
    int64_t preferredStyle() const { return style_; }
    void addAction(UIAlertAction* action);
    const std::vector<Ref<UIAlertAction>>& actions() const { return actions_; }
    // The handler stands in for the platform's configuration block.
    void addTextFieldWithConfigurationHandler(const std::function<void(UITextField*)>& configure);
    const std::vector<Ref<UITextField>>& textFields() const { return text_fields_; }

    // A tap on the action at index: the alert is dismissed, then the action's handler runs.
    // False for an index that names no action.
    bool tap_action(size_t index);

  private:
    Ref<foundation::NSString> message_;
    int64_t style_{UIAlertControllerStyleAlert};
    std::vector<Ref<UIAlertAction>> actions_;
    std::vector<Ref<UITextField>> text_fields_;
};

} // namespace platform::uikit
