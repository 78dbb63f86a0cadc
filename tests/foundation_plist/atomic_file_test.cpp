// Whole-file writes outside the device's locked files: pictures and screenshots.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/AtomicFile.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDevice.h"

namespace fs = std::filesystem;
using platform::foundation::write_file_atomically;
using zimtone::testing::entry_at;
using zimtone::testing::TempDevice;

namespace {

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(AtomicFileWrite, NewContentIsWholeReadableByAllAndAlone) {
    TempDevice device;
    const fs::path file = device.root() / "shot.png";
    for (const std::string content : {"first, longer content", "second", ""}) {
        ASSERT_TRUE(write_file_atomically(file, content)) << content;
        EXPECT_EQ(entry_at(file), "file " + content);
        struct stat info {};
        ASSERT_EQ(::stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0644u);
        EXPECT_EQ(names_in(device.root()), std::vector<std::string>{"shot.png"});
    }
}

TEST(AtomicFileWrite, AFailedWriteLeavesWhatWasThereAndNoTemporary) {
    struct Row {
        const char* name;
        std::function<void(const fs::path& root)> prepare;
        std::string target; // under the root
        int error;
    };
    const Row rows[] = {
        {"missing folder", [](const fs::path&) {}, "missing/shot.png", ENOENT},
        {"target is a folder", [](const fs::path& root) { fs::create_directory(root / "shot.png"); },
         "shot.png", EISDIR},
        {"no file name", [](const fs::path& root) { fs::create_directory(root / "pictures"); }, "pictures/",
         EISDIR},
        {"a file as the folder",
         [](const fs::path& root) { zimtone::testing::write_bytes(root / "pictures", "kept"); },
         "pictures/shot.png", ENOTDIR},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDevice device;
        row.prepare(device.root());
        const auto before = names_in(device.root());
        const fs::path first = device.root() / fs::path(row.target).begin()->string();
        const std::string first_entry = entry_at(first);
        errno = 0;
        EXPECT_FALSE(write_file_atomically(device.root() / row.target, "new"));
        EXPECT_EQ(errno, row.error);
        EXPECT_EQ(names_in(device.root()), before);
        EXPECT_EQ(entry_at(first), first_entry);
    }
}

TEST(AtomicFileWrite, TheReasonNamesThePath) {
    TempDevice device;
    const std::vector<uint8_t> bytes{'p', 'n', 'g'};
    const std::string missing = (device.root() / "missing" / "shot.png").string();
    struct Row {
        std::string path;
        bool written;
        std::string error;
    };
    const Row rows[] = {
        {(device.root() / "shot.png").string(), true, ""},
        {missing, false, "cannot write " + missing + ": No such file or directory"},
        {"", false, "no file name given"},
    };
    for (const auto& row : rows) {
        auto written = write_file_atomically(row.path, bytes);
        EXPECT_EQ(written.ok(), row.written) << row.path;
        EXPECT_EQ(written.error(), row.error) << row.path;
    }
    EXPECT_EQ(entry_at(device.root() / "shot.png"), "file png");
}
