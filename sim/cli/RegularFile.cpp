#include "sim/cli/RegularFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace zimtone::cli {

std::optional<std::string> regular_file_problem(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return "cannot read " + path + ": " + std::strerror(errno);
    if (!S_ISREG(st.st_mode))
        return path + " is not a regular file";
    return std::nullopt;
}

} // namespace zimtone::cli
