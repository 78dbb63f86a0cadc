// The quick-reply view in the Messages app's colours: the field's cover in the contrast colour,
// the text, caret and placeholder in the icon colour, the buttons in the contrast colour.
#pragma once

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::quickreply {

using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::SEL;

extern IMP original_setupView;
extern IMP original_updateSendButton;

// CKInlineReplyViewController.
void setupView(Object* self, SEL sel);
void updateSendButton(Object* self, SEL sel);

} // namespace zimtone::tweak::quickreply
