// Locked read-modify-write of the settings file, within one process and across processes.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <optional>

#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SettingsFile.h"
#include "plist_test_support.h"

extern char** environ;

using namespace platform::foundation;
using namespace platform::runtime;

namespace {

const std::string kDirectory = "/User/Library/Preferences";
const std::string kSettings = kDirectory + "/org.quillhaven.zimtonepro2.plist";

double number_at(const NSDictionary& dict, const std::string& key) {
    auto* number = dynamic_cast<NSNumber*>(dict.get(key).get());
    return number ? number->doubleValue() : -1.0;
}

auto set_number(const std::string& key, double value) {
    return [=](NSMutableDictionary& dict) { dict.set(key, NSNumber::numberWithDouble(value)); };
}

// A helper process that sets "<prefix>0" ... through update_dictionary_file.
class Writer {
  public:
    Writer(const std::string& root, const std::string& prefix, int count) {
        std::vector<std::string> args = {PLIST_WRITER_HELPER, root, kSettings, prefix, std::to_string(count)};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, PLIST_WRITER_HELPER, nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
    }
    bool started() const { return pid_ > 0; }
    bool running() {
        int status = 0;
        if (pid_t reaped = status_ ? 0 : ::waitpid(pid_, &status, WNOHANG); reaped != 0)
            status_ = reaped == pid_ ? status : -1; // -1: lost track of it, which counts as a failure
        return !status_;
    }
    bool exited_cleanly() {
        int status = 0;
        if (!status_ && ::waitpid(pid_, &status, 0) == pid_)
            status_ = status;
        return status_ && WIFEXITED(*status_) && WEXITSTATUS(*status_) == 0;
    }

  private:
    pid_t pid_{-1};
    std::optional<int> status_;
};

class SettingsFileUpdate : public plist_test::DeviceRootTest {};

} // namespace

TEST_F(SettingsFileUpdate, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    auto empty = read_dictionary_or_empty(kSettings);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->count(), 0u);
    std::string error = "untouched";
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5), &error));
    EXPECT_EQ(error, "untouched");
    auto written = read_dictionary_file(kSettings);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->keys(), std::vector<std::string>{"BannerAlpha"});
    EXPECT_EQ(number_at(*written, "BannerAlpha"), 0.5);
    EXPECT_TRUE(read_bytes(kSettings).starts_with("<?xml"));
}

// Each write starts from the file as it is on disk, so writes from different pages add up.
TEST_F(SettingsFileUpdate, UpdatesKeepOtherKeysAndReplaceTheirOwn) {
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5)));
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("LockscreenAlpha", 0.7)));
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.25)));
    auto dict = read_dictionary_file(kSettings);
    ASSERT_TRUE(dict);
    EXPECT_EQ(dict->keys(), (std::vector<std::string>{"BannerAlpha", "LockscreenAlpha"}));
    EXPECT_EQ(number_at(*dict, "BannerAlpha"), 0.25);
    EXPECT_EQ(number_at(*dict, "LockscreenAlpha"), 0.7);
}

TEST_F(SettingsFileUpdate, UnreadableFileCountsAsEmpty) {
    write_bytes(kSettings, "not a property list");
    EXPECT_EQ(read_dictionary_or_empty(kSettings)->count(), 0u);
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5)));
    auto dict = read_dictionary_file(kSettings);
    ASSERT_TRUE(dict);
    EXPECT_EQ(dict->count(), 1u);
}

TEST_F(SettingsFileUpdate, ReadOrEmptyHandsOutACopy) {
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5)));
    auto first = read_dictionary_or_empty(kSettings);
    first->set("Extra", ns("x"));
    EXPECT_EQ(read_dictionary_or_empty(kSettings)->count(), 1u);
}

TEST_F(SettingsFileUpdate, FailuresSayWhatAndWhy) {
    write_bytes("/Blocked", "a regular file");
    const std::pair<std::string, std::string> cases[] = {
        {"/Blocked/settings.plist", "cannot write /Blocked/settings.plist: Not a directory"},
        {"/", "cannot write /: Is a directory"},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path);
        std::string error;
        EXPECT_FALSE(update_dictionary_file(path, set_number("BannerAlpha", 0.5), &error));
        EXPECT_EQ(error, message);
    }
    EXPECT_EQ(read_bytes("/Blocked"), "a regular file");
}

TEST_F(SettingsFileUpdate, UnwritableDirectoryReportsPermissionDenied) {
    namespace fs = std::filesystem;
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5)));
    auto directory = host_path(kDirectory);
    auto lock_file = FileLock::lock_path_for(host_path(kSettings));
    const auto writable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    const auto read_only = writable & ~fs::perms::owner_write;
    auto failure_reads = [&](const std::string& expected) {
        return plist_test::run_unprivileged([&] {
            std::string error;
            return !update_dictionary_file(kSettings, set_number("BannerAlpha", 0.25), &error) &&
                   error == expected;
        });
    };

    fs::permissions(lock_file, fs::perms::all);
    fs::permissions(directory, read_only);
    EXPECT_TRUE(failure_reads("cannot write " + kSettings + ": Permission denied"));

    fs::permissions(directory, writable);
    fs::remove(lock_file);
    fs::permissions(directory, read_only);
    EXPECT_TRUE(failure_reads("cannot lock " + kSettings + ": Permission denied"));

    auto dict = read_dictionary_file(kSettings);
    ASSERT_TRUE(dict);
    EXPECT_EQ(number_at(*dict, "BannerAlpha"), 0.5);
}

TEST_F(SettingsFileUpdate, LockBesideTheFileExcludesOtherHoldersUntilReleased) {
    auto file = host_path(kSettings);
    std::filesystem::create_directories(file.parent_path());
    EXPECT_EQ(FileLock::lock_path_for(file), file.parent_path() / "org.quillhaven.zimtonepro2.plist.lock");
    {
        auto held = FileLock::acquire(file);
        ASSERT_TRUE(held);
        errno = 0;
        EXPECT_FALSE(FileLock::acquire_within(file, std::chrono::milliseconds(30)));
        EXPECT_EQ(errno, EWOULDBLOCK);
        // A writer in another process waits too.
        EXPECT_TRUE(plist_test::run_in_child(
            [&] { return !FileLock::acquire_within(file, std::chrono::milliseconds(30)); }));
        // Readers never take the lock.
        EXPECT_FALSE(read_dictionary_file(kSettings));
    }
    EXPECT_TRUE(FileLock::acquire_within(file, std::chrono::milliseconds(0)));
}

// Two processes each set 200 keys at the same time; no key is lost, and a reader running
// alongside only ever sees whole files.
TEST_F(SettingsFileUpdate, ConcurrentWritersInTwoProcessesLoseNoKey) {
    constexpr int kKeysEach = 200;
    Writer first(root_.string(), "first-", kKeysEach);
    Writer second(root_.string(), "second-", kKeysEach);
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(second.started());

    int torn_reads = 0, whole_reads = 0;
    while (first.running() | second.running()) {
        if (!std::filesystem::exists(host_path(kSettings)))
            continue;
        if (read_dictionary_file(kSettings))
            ++whole_reads;
        else
            ++torn_reads;
    }
    EXPECT_TRUE(first.exited_cleanly());
    EXPECT_TRUE(second.exited_cleanly());
    EXPECT_EQ(torn_reads, 0);
    EXPECT_GT(whole_reads, 0);

    auto dict = read_dictionary_file(kSettings);
    ASSERT_TRUE(dict);
    EXPECT_EQ(dict->count(), 2u * kKeysEach);
    for (const char* prefix : {"first-", "second-"})
        for (int i = 0; i < kKeysEach; ++i) {
            auto key = prefix + std::to_string(i);
            EXPECT_EQ(number_at(*dict, key), i) << key;
        }
}
