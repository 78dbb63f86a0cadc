// The keyboard in the Messages app's colour: the render configuration asks for the tinted
// backdrop style and dark keys, the layout and the prediction bar take the keyboard colour,
// the prediction words the contrast of the icon colour, and with Unicorn everything cycles.
#pragma once

#include "platform/foundation/Geometry.h"
#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::quickreply {

using platform::foundation::CGRect;
using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

extern IMP original_backdropStyleForStyle;
extern IMP original_lightKeyboard;
extern IMP original_layoutInitWithFrame;
extern IMP original_predictionTextColor;
extern IMP original_predictionLayoutSubviews;

// UIKBRenderConfig (backdropStyleForStyle: on the class side).
int64_t backdropStyleForStyle(Object* self, SEL sel, int64_t style);
bool lightKeyboard(Object* self, SEL sel);
// UIKeyboardLayout.
Ref<Object> layoutInitWithFrame(Object* self, SEL sel, CGRect frame);
// UIKeyboardPredictionCell.
Ref<Object> predictionTextColor(Object* self, SEL sel);
void predictionLayoutSubviews(Object* self, SEL sel);
// Added to UIKeyboardLayout and UIKeyboardPredictionCell: a random background at "BannerAlpha".
void changeBackgroundColor(Object* self, SEL sel);

} // namespace zimtone::tweak::quickreply
