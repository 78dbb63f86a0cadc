// The dismiss-action button a table cell reveals, with thin separator lines along its top and
// bottom edges that the host draws by default.
#pragma once

#include "platform/uikit/UIView.h"

namespace platform::springboard {

using runtime::Class;

class SBTableViewCellDismissActionButton : public uikit::UIView {
  public:
    static Class runtime_class();

    bool drawsTopSeparator() const { return top_; }
    void setDrawsTopSeparator(bool draws);
    bool drawsBottomSeparator() const { return bottom_; }
    void setDrawsBottomSeparator(bool draws);

    void draw(uikit::Canvas& canvas) const override;

  private:
    bool top_{true};
    bool bottom_{true};
};

} // namespace platform::springboard
