// The device runs on files of the build that a build of some targets only may lack; setting up a
// device names the missing one instead of linking to nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "sim/cli/DeviceSetup.h"
#include "tests/support/HostUnderTest.h"
#include "tests/support/TempDevice.h"

namespace {

namespace fs = std::filesystem;

const char* const kRuntimeFiles[] = {
    "lib/libZimtone2.so",
    "lib/Zimtone2.plist",
    "lib/Zimtone2.bundle/Zimtone2",
    "bin/zimtone-host",
    "share/zimtone/web/settings/index.html",
};

void make_file(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

TEST(RuntimeFiles, EachMissingFileIsNamed) {
    zimtone::testing::TempDevice scratch;
    for (const char* missing : kRuntimeFiles) {
        SCOPED_TRACE(missing);
        const fs::path build = scratch.root() / "build";
        fs::remove_all(build);
        for (const char* file : kRuntimeFiles)
            if (file != missing)
                make_file(build / file);
        EXPECT_EQ(zimtone::cli::missing_runtime_file(build), fs::path(missing));
        fs::create_directories(build / missing); // a folder in its place is no file either
        EXPECT_EQ(zimtone::cli::missing_runtime_file(build), fs::path(missing));
        fs::remove(build / missing);
        make_file(build / missing);
        EXPECT_EQ(zimtone::cli::missing_runtime_file(build), std::nullopt);
    }
}

// Building `zimtone` alone, as the README's first command does, brings everything it runs.
TEST(RuntimeFiles, BuildingTheCommandBuildsEverythingTheDeviceRunsOn) {
    EXPECT_EQ(zimtone::cli::missing_runtime_file(zimtone::testing::build_bin_dir().parent_path()),
              std::nullopt);
}

} // namespace
