// An icon named on the command line, read with a reason when it cannot be.
#pragma once

#include <string>

#include "platform/uikit/UIImage.h"

namespace zimtone::cli {

// The image of a host file; nil with error set to "cannot read PATH: ...", "PATH is not a
// regular file" or "cannot read PATH as a PNG image".
platform::runtime::Ref<platform::uikit::UIImage> read_icon_file(const std::string& path, std::string* error);

} // namespace zimtone::cli
