// Alert actions: a titled button of an alert with the block it runs when tapped.
#pragma once

#include <functional>

#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

namespace platform::uikit {

using platform::runtime::Class;
using platform::runtime::Ref;

enum UIAlertActionStyle : int64_t {
    UIAlertActionStyleDefault = 0,
    UIAlertActionStyleCancel = 1,
    UIAlertActionStyleDestructive = 2,
};

class UIAlertAction : public runtime::NSObject {
  public:
    using Handler = std::function<void(UIAlertAction*)>;
    static Class runtime_class();
    // The handler stands in for the platform's block argument.
    static Ref<UIAlertAction> actionWithTitle(const std::string& title, int64_t style, Handler handler);

    foundation::NSString* title() const { return title_.get(); }
    int64_t style() const { return style_; }
    void run_handler() {
        if (handler_)
            handler_(this);
    }

  private:
    Ref<foundation::NSString> title_;
    int64_t style_{UIAlertActionStyleDefault};
    Handler handler_;
};

} // namespace platform::uikit
