// The device's runtime folders (sockets, scratch pictures) under its root: reached from the root
// without following any symbolic link, so nothing placed there leads a process out of the
// device, and created owner-only whatever the umask.
#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

namespace platform::foundation {

// Opens the folder at a device path, creating the missing folders below the device root (which
// must exist) with mode 0700,
// and narrows the folder itself to 0700 when it is the user's and wider. Answers an open
// descriptor (the caller closes it), or a sentence for a person.
Result<int> open_runtime_folder(std::string_view device_path);

} // namespace platform::foundation
