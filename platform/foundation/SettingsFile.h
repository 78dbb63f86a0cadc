// Read-modify-write of a property-list settings file that more than one process may write.
#pragma once

#include <functional>
#include <string>

#include "platform/foundation/NSDictionary.h"

namespace platform::foundation {

// The file's dictionary as a fresh mutable copy; empty when the file is missing or unreadable,
// since an absent settings file means every key is at its default.
Ref<NSMutableDictionary> read_dictionary_or_empty(const std::string& device_path);

// Under the writers' lock: reads the file (missing or unreadable counts as empty), applies
// `change` and writes the result atomically as XML, creating missing parent directories. False
// when locking or writing failed, with the reason in `error`, e.g.
// "cannot write /User/Library/Preferences/x.plist: Permission denied".
bool update_dictionary_file(const std::string& device_path,
                            const std::function<void(NSMutableDictionary&)>& change,
                            std::string* error = nullptr);

} // namespace platform::foundation
