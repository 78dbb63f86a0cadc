// The colour engine over the platform's colour and image objects, as hooks and pane cells call it.
#pragma once

#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIColor.h"

namespace zimtone::colour::bridge {

using platform::runtime::Object;
using platform::runtime::Ref;
using platform::uikit::UIColor;

// The mean colour of an image object (nil, or an object that is not an image, gives opaque black).
Ref<UIColor> getDominantColor(const Object* image);
// A nil colour reads as clear black: a message to nil leaves every component, alpha too, at 0.
Ref<UIColor> modifySaturationWith(const Object* colour, double saturation);
// The shared white or black colour object.
Ref<UIColor> reverseColor(const Object* colour);

} // namespace zimtone::colour::bridge
