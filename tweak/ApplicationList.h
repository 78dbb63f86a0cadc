// The application list cached at start-up: every surface fetches app icons from it.
#pragma once

#include <string>

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak {

using platform::runtime::Object;
using platform::runtime::Ref;

// Caches the shared ALApplicationList when none is cached yet.
void cache_application_list();
Object* application_list();
// The app's icon at size 29, or nil.
Ref<Object> small_icon(const Object* identifier);

} // namespace zimtone::tweak
