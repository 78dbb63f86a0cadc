// Read-modify-write of a property-list settings file that more than one process may write.
#pragma once

#include <functional>
#include <string>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/Result.h"

namespace platform::foundation {

// The file's dictionary as a fresh mutable copy, for showing values; empty when the file is
// missing or unreadable, since an absent settings file means every key is at its default.
Ref<NSMutableDictionary> read_dictionary_or_empty(const std::string& device_path);

// Under the writers' lock: reads the file (a missing file counts as empty), applies `change` and
// writes the result atomically as XML, creating missing parent directories. A file that is present
// but cannot be read (too big, corrupt, not a dictionary, not a regular file, not permitted) is
// left byte for byte as it is, and so is the file when the result would be too big to read back.
// A failure in those cases and when locking or writing failed, saying why, e.g.
// "cannot write /User/Library/Preferences/x.plist: Permission denied" or
// "cannot read /User/Library/Preferences/x.plist: larger than 8 MiB".
Result<void> update_dictionary_file(const std::string& device_path,
                                    const std::function<void(NSMutableDictionary&)>& change);

} // namespace platform::foundation
