#include "tests/support/HostUnderTest.h"

namespace zimtone::testing {

std::filesystem::path build_bin_dir() {
    return ZIMTONE_BUILD_BIN_DIR;
}

} // namespace zimtone::testing
