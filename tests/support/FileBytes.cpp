#include "tests/support/FileBytes.h"

#include <fstream>
#include <iterator>

namespace zimtone::testing {

namespace fs = std::filesystem;

std::vector<char> read_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string entry_at(const fs::path& path) {
    auto status = fs::symlink_status(path);
    if (fs::is_symlink(status))
        return "link to " + fs::read_symlink(path).string();
    if (fs::is_directory(status))
        return "directory";
    if (fs::is_fifo(status))
        return "fifo";
    if (!fs::exists(status))
        return "nothing";
    std::ifstream in(path, std::ios::binary);
    return "file " + std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace zimtone::testing
