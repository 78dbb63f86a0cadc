// An icon named on the command line, read with a reason when it cannot be.
#pragma once

#include <string>

#include "platform/foundation/Result.h"
#include "platform/uikit/UIImage.h"

namespace zimtone::cli {

// The image of a host file, or a failure: "cannot read PATH: ...", "PATH is not a regular file"
// or "cannot read PATH as a PNG image".
platform::foundation::Result<platform::runtime::Ref<platform::uikit::UIImage>>
read_icon_file(const std::string& path);

} // namespace zimtone::cli
