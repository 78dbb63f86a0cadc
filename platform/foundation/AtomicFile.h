// Replacing a device file atomically, by a writer that holds the file's writers' lock.
#pragma once

#include <string>
#include <string_view>

namespace platform::foundation {

class FileLock;

// Writes `bytes` to a hidden temporary file beside the file (".<name>.XXXXXX"), flushes it and
// renames it into place, creating missing parent directories. `held` is the file's writers' lock:
// every writer of such temporaries holds it, so any found beside the file were left by writers
// that died mid-write, and are removed first. False (errno set) when a step failed; the old file
// is then left untouched and no temporary file of this write remains.
bool replace_file_atomically(const std::string& device_path, std::string_view bytes, const FileLock& held);

} // namespace platform::foundation
