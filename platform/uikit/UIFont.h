// Fonts as a name and a point size; drawing picks the face by that name.
#pragma once

#include <string>

#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

namespace platform::uikit {

using platform::runtime::Class;
using platform::runtime::Ref;

// An immutable font description.
class UIFont : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<UIFont> fontWithName(std::string name, double size);
    // The platform's text face at the size.
    static Ref<UIFont> systemFontOfSize(double size);
    static constexpr const char* system_font_name = ".SFUIText-Regular";

    UIFont() = default;

    const std::string& name() const { return name_; }
    double pointSize() const { return size_; }
    Ref<foundation::NSString> fontName() const;

  private:
    std::string name_{system_font_name};
    double size_{17.0};
};

} // namespace platform::uikit
