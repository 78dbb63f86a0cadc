// The banner's automatic foreground: buttons, date, grabber and every text in the colour that
// stays readable on the app's tint, and the host's vibrancy stripped so the colour shows.
#pragma once

#include "colour/Colour.h"
#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::banner {

using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

extern IMP original_textViewLayoutSubviews;
extern IMP original_vibrantButtonLayoutSubviews;

// The end of a banner's set-up: colours the banner view's foreground after its icon's dominant
// colour.
void colour_foreground(Object* banner_view, const zimtone::colour::Colour& dominant);

// The colour every banner text takes: the latest banner's automatic colour, white before any.
Ref<Object> shared_banner_text_colour();

// Added to SBDefaultBannerTextView and SBNotificationVibrantButton.
Ref<Object> changeAttributesOf(Object* self, SEL sel, Object* attributed);
void setOverlayButtonTitleColor(Object* self, SEL sel, Object* colour);

void textViewLayoutSubviews(Object* self, SEL sel);
void vibrantButtonLayoutSubviews(Object* self, SEL sel);

} // namespace zimtone::tweak::banner
