// Creates or refreshes a device root: sample apps, and the deliverables installed where the
// device keeps them (the tweak with its filter, the preference bundle), linked to this build.
#pragma once

#include <string>

namespace zimtone::cli {

// argv0 locates the build's libraries. False with a readable error when the root cannot be made.
bool set_up_device(const char* argv0, std::string* error);

} // namespace zimtone::cli
