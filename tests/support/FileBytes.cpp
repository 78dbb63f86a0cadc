#include "tests/support/FileBytes.h"

#include <fstream>
#include <iterator>

namespace zimtone::testing {

namespace fs = std::filesystem;

std::vector<char> read_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

void write_bytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

} // namespace zimtone::testing
