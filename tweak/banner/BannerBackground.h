// The banner's tinted backdrop, its colour cycling and the removal of the host's own background.
#pragma once

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::banner {

using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

// Saved host implementations, one slot per replaced method.
extern IMP original_setBannerContext;
extern IMP original_layoutSubviews;
extern IMP original_noteDidDismissWithReason;

void setBannerContext_withReplaceReason(Object* self, SEL sel, Object* context, int64_t reason);
void layoutSubviews(Object* self, SEL sel);
void noteDidDismissWithReason(Object* self, SEL sel, int64_t reason);

// Added to SBBannerContextView.
void addBackgroundWithImage_andAppName(Object* self, SEL sel, Object* image, Object* app);
void changeBlurColor(Object* self, SEL sel);

} // namespace zimtone::tweak::banner
