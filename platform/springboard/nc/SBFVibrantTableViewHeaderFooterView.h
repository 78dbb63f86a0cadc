// Runtime class "_SBFVibrantTableViewHeaderFooterView": a table header or footer laid over a
// vibrant blur backdrop, kept in the instance variable "_backdrop".
#pragma once

#include "platform/uikit/_UIBackdropView.h"
#include "platform/uikit/table/UITableViewHeaderFooterView.h"

namespace platform::springboard {

using runtime::Class;
using runtime::Ref;

class SBFVibrantTableViewHeaderFooterView : public uikit::UITableViewHeaderFooterView {
  public:
    static Class runtime_class();

    // Builds the backdrop behind the content view.
    Ref<runtime::Object> initWithFrame(foundation::CGRect frame);
    uikit::UIBackdropView* backdrop() const { return backdrop_.get(); }

  private:
    Ref<uikit::UIBackdropView> backdrop_;
};

} // namespace platform::springboard
