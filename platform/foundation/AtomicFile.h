// The one way a whole file is written: readers, and the disk after a crash, see the old content or
// the new, never a part.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

namespace platform::foundation {

class FileLock;

// Writes `bytes` to a hidden temporary file beside `path` (".<name>.XXXXXX"), readable by all,
// flushes it to disk, renames it over `path` and flushes the folder. The folder must exist. False
// (errno set) when a step failed; the old file is then left untouched and no temporary file of
// this write remains.
bool write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

// The same for a caller that reports the reason: "cannot write <path>: <reason>".
Result<void> write_file_atomically(const std::string& path, std::span<const uint8_t> bytes);

// A device file under its writers' lock (`held`): missing parent directories are created, and as
// every writer of such temporaries holds the lock, any found beside the file were left by writers
// that died mid-write and are removed first. False (errno set) as above.
bool replace_file_atomically(const std::string& device_path, std::string_view bytes, const FileLock& held);

} // namespace platform::foundation
