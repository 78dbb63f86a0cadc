// Files named on the command line are read only when they are regular files: opening a FIFO for
// reading waits for a writer, so it is refused from its status instead.
#pragma once

#include <optional>
#include <string>

namespace zimtone::cli {

// "cannot read PATH: reason" or "PATH is not a regular file", or nullopt for a regular file.
std::optional<std::string> regular_file_problem(const std::string& path);

} // namespace zimtone::cli
