// Whole-file reads and writes for tests that prepare or inspect device files byte for byte.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zimtone::testing {

// Empty when the file cannot be read.
std::vector<char> read_bytes(const std::filesystem::path& file);
// Creates the parent folders first.
void write_bytes(const std::filesystem::path& file, const std::string& bytes);
// What a path holds ("link to X", "directory", "fifo", "nothing" or "file " and its bytes), to
// see that a refused write left it exactly as it was.
std::string entry_at(const std::filesystem::path& path);

} // namespace zimtone::testing
