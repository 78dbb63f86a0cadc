// The HexColors category of UIColor: six hex digits to a colour and back. Each deliverable adds
// the two class methods when it loads, as a category would.
#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIColor.h"

namespace zimtone::colour::bridge {

using platform::foundation::NSString;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::uikit::UIColor;

// nil unless the string is exactly six hex digits.
Ref<UIColor> colorWithHexString(const Object* string);
// "ffffff" for the shared white colour itself; nil for nil.
Ref<NSString> hexValuesFromUIColor(const Object* colour);

// Adds colorWithHexString: and hexValuesFromUIColor: to UIColor's class side.
void install_hex_colors_category();

} // namespace zimtone::colour::bridge
