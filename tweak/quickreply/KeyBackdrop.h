// Each key on a new blurred backdrop in the keyboard colour, shaped like the host's key, unless
// the package probe finds the other package's file list.
#pragma once

#include "platform/foundation/Geometry.h"
#include "platform/runtime/Runtime.h"

namespace zimtone::tweak::quickreply {

using platform::foundation::CGRect;
using platform::runtime::IMP;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

inline constexpr const char* kProbedPackageList = "/var/lib/dpkg/info/org.quillhaven.marrowfin.list";

extern IMP original_keyInitWithFrame;

// True when the probed package is installed: its file list reads as UTF-8 text without error.
bool probed_package_installed();

// UIKBBlurredKeyView.
Ref<Object> keyInitWithFrame(Object* self, SEL sel, CGRect frame, Object* keyplane, Object* key);
// Added to UIKBBlurredKeyView: a random tint on the key's backdrop, its tint alpha kept.
void keyChangeBackgroundColor(Object* self, SEL sel);

} // namespace zimtone::tweak::quickreply
