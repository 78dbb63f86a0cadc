// Writing a whole file so that readers see the old content or the new, never a part.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::render {

// Writes the bytes to a temporary file beside the path and renames it over the path. False
// with a readable reason (naming the path) when any step fails; no temporary file is left.
bool write_file_atomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

} // namespace platform::render
