// Writers of the settings file that die or run out of room half-way: readers find the old file or
// the new one, whole, never a mix, and the next writer is not blocked by the dead one.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SettingsFile.h"
#include "settings/Keys.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDevice.h"

using namespace platform::foundation;
using zimtone::settings::kSettingsFile;
namespace fs = std::filesystem;

namespace {

// Large enough (about 2 MB) that a write takes long enough to be caught in the middle.
constexpr int kKeys = 2000;
constexpr size_t kValueSize = 1000;

std::string value_of_generation(int generation) {
    std::string value = "generation-" + std::to_string(generation) + "-";
    value.resize(kValueSize, 'x');
    return value;
}

void set_generation(NSMutableDictionary& settings, int generation) {
    auto value = ns(value_of_generation(generation));
    for (int i = 0; i < kKeys; ++i)
        settings.set("key" + std::to_string(i), value);
}

// The one generation every key of the file holds; nullopt for a missing, unreadable or mixed file.
std::optional<int> generation_of_file() {
    auto settings = read_dictionary_file(kSettingsFile);
    if (!settings || settings->count() != static_cast<size_t>(kKeys))
        return std::nullopt;
    const std::string* first = string_of(settings->get("key0").get());
    if (!first)
        return std::nullopt;
    for (int i = 1; i < kKeys; ++i) {
        const std::string* value = string_of(settings->get("key" + std::to_string(i)).get());
        if (!value || *value != *first)
            return std::nullopt;
    }
    for (int generation = 0; generation < 1000; ++generation)
        if (*first == value_of_generation(generation))
            return generation;
    return std::nullopt;
}

platform::foundation::Result<void> write_generation(int generation) {
    return update_dictionary_file(kSettingsFile,
                                  [generation](NSMutableDictionary& s) { set_generation(s, generation); });
}

// Temporary files a writer leaves in the preferences folder while it writes.
bool temporary_file_present(const fs::path& directory) {
    std::error_code error;
    for (auto& entry : fs::directory_iterator(directory, error))
        if (entry.path().filename().string().starts_with(".org.quillhaven.zimtonepro2.plist."))
            return true;
    return false;
}

class SettingsWriterFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ = device_.path(kSettingsFile).parent_path();
        ASSERT_TRUE(write_generation(0));
        ASSERT_EQ(generation_of_file(), 0);
    }
    zimtone::testing::TempDevice device_;
    fs::path directory_;
};

} // namespace

// The writer is killed while its temporary file is being filled, many times over: each time the
// settings file is still the last whole one, and a new writer gets the lock, writes at once and
// removes the dead writer's temporary file, so none accumulate.
TEST_F(SettingsWriterFaults, WriterKilledMidWriteLeavesTheOldFileWhole) {
    constexpr int kRounds = 8;
    int caught_mid_write = 0;
    for (int round = 1; round <= kRounds; ++round) {
        const int before = *generation_of_file();
        pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (int generation = before + 1;; ++generation)
                (void)write_generation(generation % 1000);
        }
        // Kill it as soon as it is inside a write: its temporary file exists. The deadline only
        // keeps a writer that never writes from hanging the test.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!temporary_file_present(directory_) && std::chrono::steady_clock::now() < deadline)
            sched_yield();
        kill(writer, SIGKILL);
        int status = 0;
        waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        caught_mid_write += temporary_file_present(directory_);

        auto after = generation_of_file();
        ASSERT_TRUE(after) << "round " << round << ": the file is not one whole generation";
        EXPECT_GE(*after, before);

        auto written = write_generation(500 + round);
        EXPECT_TRUE(written) << written.error();
        EXPECT_EQ(generation_of_file(), 500 + round);
        EXPECT_FALSE(temporary_file_present(directory_)) << "round " << round << ": a stale temporary stayed";
    }
    EXPECT_GT(caught_mid_write, 0) << "no kill landed inside a write";
}

// A file-size limit stops the write half-way: the failure is reported with its reason and the old
// file stays whole, with no temporary file left behind.
TEST_F(SettingsWriterFaults, FileSizeLimitFailsTheWriteVisiblyAndKeepsTheOldFile) {
    auto result = zimtone::testing::run_in_child([] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        auto written = write_generation(1);
        return written ? std::string("written") : written.error();
    });
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, std::string("cannot write ") + kSettingsFile + ": File too large");
    EXPECT_EQ(generation_of_file(), 0);
    EXPECT_FALSE(temporary_file_present(directory_));
}
