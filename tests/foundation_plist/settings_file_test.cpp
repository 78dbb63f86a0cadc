// Locked read-modify-write of the settings file, within one process and across processes.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SettingsFile.h"
#include "plist_test_support.h"
#include "tests/support/FileBytes.h"

extern char** environ;

using namespace platform::foundation;
using namespace platform::runtime;
using zimtone::testing::entry_at;

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

class SettingsFileUpdate : public plist_test::DeviceRootTest {
  protected:
    // The lock's folders are owner-only; checks that run as another user need to reach them.
    void open_lock_to_everyone() {
        namespace fs = std::filesystem;
        const fs::path lock = FileLock::lock_device_path(kSettings);
        fs::permissions(host_path(lock), fs::perms::all);
        for (auto folder = lock.parent_path(); folder != "/"; folder = folder.parent_path())
            fs::permissions(host_path(folder), fs::perms::owner_all | fs::perms::group_read |
                                                   fs::perms::group_exec | fs::perms::others_read |
                                                   fs::perms::others_exec);
    }
};

} // namespace

TEST_F(SettingsFileUpdate, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    auto empty = read_dictionary_or_empty(kSettings);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->count(), 0u);
    auto updated = update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5));
    ASSERT_TRUE(updated) << updated.error();
    EXPECT_EQ(updated.error(), "");
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

std::string five_keys_xml() {
    auto dict = NSMutableDictionary::create();
    for (const char* key :
         {"BannerAlpha", "BannerSaturation", "LockscreenAlpha", "tavoEffect", "OnlyHeaders"})
        dict->set(key, NSNumber::numberWithDouble(0.5));
    return serialise_property_list(dict.get(), PlistFormat::XML);
}

// A file that is there but cannot be read is never replaced by a dictionary that lacks its keys:
// the write fails, says why, and the file stays byte for byte as it was.
TEST_F(SettingsFileUpdate, AFilePresentButUnreadableIsLeftExactlyAsItIs) {
    namespace fs = std::filesystem;
    const std::string xml = five_keys_xml();
    std::string over_cap = xml;
    over_cap.insert(over_cap.find("<key>"), "<key>Padding</key><string>" +
                                                std::string(max_property_list_file_size, 'x') + "</string>");
    const std::string not_a_plist = "not a property list with a dictionary root";
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        std::string problem;
    } cases[] = {
        {"garbage", [&](const fs::path& f) { std::ofstream(f) << "not a property list"; }, not_a_plist},
        {"truncated", [&](const fs::path& f) { std::ofstream(f) << xml.substr(0, xml.size() / 2); },
         not_a_plist},
        {"array root",
         [&](const fs::path& f) {
             std::ofstream(f) << serialise_property_list(NSArray::create({ns("x")}).get(), PlistFormat::XML);
         },
         not_a_plist},
        {"over the read cap", [&](const fs::path& f) { std::ofstream(f) << over_cap; }, "larger than 8 MiB"},
        {"directory", [&](const fs::path& f) { fs::create_directory(f); }, "not a regular file"},
        {"fifo", [&](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0644), 0); }, "not a regular file"},
        {"link loop", [&](const fs::path& f) { fs::create_symlink(f.filename(), f); },
         "Too many levels of symbolic links"},
    };
    const auto file = host_path(kSettings);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(host_path(kDirectory));
        fs::create_directories(file.parent_path());
        c.make(file);
        const std::string before = entry_at(file);
        const auto entries = directory_entries(kDirectory);
        auto updated = update_dictionary_file(kSettings, set_number("BannerAlpha", 0.25));
        EXPECT_FALSE(updated);
        EXPECT_EQ(updated.error(), "cannot read " + kSettings + ": " + c.problem);
        EXPECT_TRUE(entry_at(file) == before) << "the file was changed";
        EXPECT_EQ(directory_entries(kDirectory), entries);
    }
}

TEST_F(SettingsFileUpdate, AFileWithoutReadPermissionIsLeftAsItIs) {
    namespace fs = std::filesystem;
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5)));
    const std::string before = read_bytes(kSettings);
    open_lock_to_everyone();
    fs::permissions(host_path(kDirectory), fs::perms::all);
    fs::permissions(host_path(kSettings), fs::perms::owner_write);
    EXPECT_TRUE(plist_test::run_unprivileged([&] {
        auto updated = update_dictionary_file(kSettings, set_number("LockscreenAlpha", 0.25));
        return !updated && updated.error() == "cannot read " + kSettings + ": Permission denied";
    }));
    fs::permissions(host_path(kSettings), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(read_bytes(kSettings), before);
}

// The result of a change must be readable again; one over the read cap is refused and the file
// keeps its keys, so the next ordinary change still finds all of them.
TEST_F(SettingsFileUpdate, AResultTooLargeToReadBackIsNotWrittenAndNoKeyIsLost) {
    write_bytes(kSettings, five_keys_xml());
    const std::string before = read_bytes(kSettings);
    auto too_large = update_dictionary_file(kSettings, [](NSMutableDictionary& dict) {
        dict.set("BannerAlpha", ns(std::string(9u << 20, 'x')));
    });
    EXPECT_FALSE(too_large);
    EXPECT_EQ(too_large.error(), "cannot write " + kSettings + ": the result would be larger than 8 MiB");
    EXPECT_EQ(read_bytes(kSettings), before);
    EXPECT_EQ(directory_entries(kDirectory), std::vector<std::string>{"org.quillhaven.zimtonepro2.plist"});

    auto updated = update_dictionary_file(kSettings, set_number("NotificationCenterAlpha", 0.75));
    ASSERT_TRUE(updated) << updated.error();
    auto dict = read_dictionary_file(kSettings);
    ASSERT_TRUE(dict);
    EXPECT_EQ(dict->count(), 6u);
    for (const char* key :
         {"BannerAlpha", "BannerSaturation", "LockscreenAlpha", "tavoEffect", "OnlyHeaders"})
        EXPECT_EQ(number_at(*dict, key), 0.5) << key;
    EXPECT_EQ(number_at(*dict, "NotificationCenterAlpha"), 0.75);
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
        auto updated = update_dictionary_file(path, set_number("BannerAlpha", 0.5));
        EXPECT_FALSE(updated);
        EXPECT_EQ(updated.error(), message);
    }
    EXPECT_EQ(read_bytes("/Blocked"), "a regular file");
}

TEST_F(SettingsFileUpdate, UnwritableDirectoryReportsPermissionDenied) {
    namespace fs = std::filesystem;
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5)));
    auto directory = host_path(kDirectory);
    auto lock_file = resolve_device_path(FileLock::lock_device_path(kSettings));
    const auto writable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    const auto read_only = writable & ~fs::perms::owner_write;
    auto failure_reads = [&](const std::string& expected) {
        return plist_test::run_unprivileged([&] {
            auto updated = update_dictionary_file(kSettings, set_number("BannerAlpha", 0.25));
            return !updated && updated.error() == expected;
        });
    };

    open_lock_to_everyone();
    fs::permissions(directory, read_only);
    EXPECT_TRUE(failure_reads("cannot write " + kSettings + ": Permission denied"));

    fs::permissions(directory, writable);
    fs::remove(lock_file);
    fs::permissions(lock_file.parent_path(), read_only);
    EXPECT_TRUE(failure_reads("cannot lock " + kSettings + ": Permission denied"));

    auto dict = read_dictionary_file(kSettings);
    ASSERT_TRUE(dict);
    EXPECT_EQ(number_at(*dict, "BannerAlpha"), 0.5);
}

// The lock lives under the device's run folder, so the preferences folder holds the file alone,
// and it excludes every other holder, in this process or another, until released.
TEST_F(SettingsFileUpdate, TheLockUnderVarRunExcludesOtherHoldersUntilReleased) {
    EXPECT_EQ(FileLock::lock_device_path(kSettings),
              "/var/run/zimtone-locks/User/Library/Preferences/org.quillhaven.zimtonepro2.plist.lock");
    EXPECT_EQ(
        FileLock::lock_device_path("/User/../User/Library/Preferences/org.quillhaven.zimtonepro2.plist"),
        FileLock::lock_device_path(kSettings));
    {
        auto held = FileLock::acquire(kSettings);
        ASSERT_TRUE(held);
        errno = 0;
        EXPECT_FALSE(FileLock::acquire_within(kSettings, std::chrono::milliseconds(30)));
        EXPECT_EQ(errno, EWOULDBLOCK);
        // A writer in another process waits too.
        EXPECT_TRUE(plist_test::run_in_child(
            [&] { return !FileLock::acquire_within(kSettings, std::chrono::milliseconds(30)); }));
        // Readers never take the lock.
        EXPECT_FALSE(read_dictionary_file(kSettings));
    }
    EXPECT_TRUE(FileLock::acquire_within(kSettings, std::chrono::milliseconds(0)));
    ASSERT_TRUE(update_dictionary_file(kSettings, set_number("BannerAlpha", 0.5)));
    EXPECT_EQ(directory_entries(kDirectory), std::vector<std::string>{"org.quillhaven.zimtonepro2.plist"});
    // Owner-only, like the device's other runtime files.
    namespace fs = std::filesystem;
    const fs::path lock = FileLock::lock_device_path(kSettings);
    EXPECT_EQ(fs::status(host_path(lock)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(host_path(lock.parent_path())).permissions() & fs::perms::all, fs::perms::owner_all);
}

// Both ways of writing the file take the same lock: a plain write waits for a held update lock.
TEST_F(SettingsFileUpdate, PlainWritesWaitForTheWritersLock) {
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    // Forked before the lock is taken, so the writer does not share the holder's lock.
    pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        ::close(go[1]);
        char byte = 0;
        bool told = ::read(go[0], &byte, 1) == 1;
        auto dict = NSMutableDictionary::create();
        dict->set("BannerAlpha", NSNumber::numberWithDouble(0.5));
        ::_exit(told && write_property_list_file(kSettings, dict.get()) ? 0 : 1);
    }
    ::close(go[0]);
    std::optional<FileLock> held;
    if (auto acquired = FileLock::acquire(kSettings))
        held.emplace(std::move(*acquired));
    // Without the go-ahead the writer exits at once, so it is reaped on every path.
    bool told = held && ::write(go[1], "g", 1) == 1;
    ::close(go[1]);
    EXPECT_TRUE(told);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(host_path(kSettings))) << "the write did not wait for the lock";
    held.reset();
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(read_dictionary_file(kSettings));
}

// A lock file that is a link or anything but a regular file, or a lock folder reached through a
// link, is refused, never followed, and nothing is written.
TEST_F(SettingsFileUpdate, ALockFileThatIsNotARegularFileIsRefused) {
    namespace fs = std::filesystem;
    const std::string lock = FileLock::lock_device_path(kSettings);
    const auto lock_file = resolve_device_path(lock);
    const auto lock_folders = host_path("/var/run/zimtone-locks");
    const auto victim = host_path("/elsewhere/victim");
    const std::string refused = "cannot lock " + kSettings + ": ";
    struct Case {
        const char* name;
        std::function<void()> make;
        std::string error;
    } cases[] = {
        {"link to another file", [&] { fs::create_symlink(victim, lock_file); },
         refused + "the lock file " + lock + " is a symbolic link"},
        {"dangling link", [&] { fs::create_symlink(host_path("/elsewhere/new"), lock_file); },
         refused + "the lock file " + lock + " is a symbolic link"},
        {"directory", [&] { fs::create_directory(lock_file); },
         refused + "the lock file " + lock + " is not a regular file"},
        {"fifo", [&] { ASSERT_EQ(::mkfifo(lock_file.c_str(), 0644), 0); },
         refused + "the lock file " + lock + " is not a regular file"},
        {"folder that links elsewhere",
         [&] {
             fs::remove_all(lock_folders);
             fs::create_directory_symlink(host_path("/elsewhere"), lock_folders);
         },
         refused + lock_folders.string() +
             " is a symbolic link, which is never followed out of the device root"},
    };
    write_bytes(kSettings, five_keys_xml());
    const std::string before = read_bytes(kSettings);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(host_path("/var"));
        fs::remove_all(host_path("/elsewhere"));
        write_bytes("/elsewhere/victim", "someone else's file");
        fs::create_directories(lock_file.parent_path());
        c.make();
        auto updated = update_dictionary_file(kSettings, set_number("BannerAlpha", 0.25));
        EXPECT_FALSE(updated);
        EXPECT_EQ(updated.error(), c.error);
        EXPECT_FALSE(write_property_list_file(kSettings, NSMutableDictionary::create().get()));
        EXPECT_EQ(read_bytes(kSettings), before);
        EXPECT_EQ(read_bytes("/elsewhere/victim"), "someone else's file");
        EXPECT_EQ(directory_entries("/elsewhere"), std::vector<std::string>{"victim"});
    }
}

// Temporaries that writers killed mid-write left beside the file are removed by the next writer
// of that file, whichever way it writes; other files of similar names stay.
TEST_F(SettingsFileUpdate, TheNextWriterRemovesStaleTemporariesOfItsFileOnly) {
    namespace fs = std::filesystem;
    const std::string leaf = "org.quillhaven.zimtonepro2.plist";
    const std::vector<std::string> stale = {"." + leaf + ".Ab12Cd", "." + leaf + ".zzzzzz",
                                            "." + leaf + ".LINK00"};
    const std::vector<std::string> kept = {"." + leaf + ".keep",   "." + leaf + ".Ab12Cd7",
                                           "." + leaf + ".Ab-2Cd", leaf + ".Ab12Cd",
                                           ".other.plist.Ab12Cd",  "." + leaf + ".Dir000"};
    const std::pair<const char*, std::function<bool()>> writers[] = {
        {"update", [] { return update_dictionary_file(kSettings, set_number("BannerAlpha", 0.25)).ok(); }},
        {"plain write",
         [] { return write_property_list_file(kSettings, NSMutableDictionary::create().get()); }},
    };
    for (const auto& [name, write] : writers) {
        SCOPED_TRACE(name);
        fs::remove_all(host_path(kDirectory));
        write_bytes("/outside", "kept");
        for (const auto& file : stale)
            write_bytes(kDirectory + "/" + file, "half a plist");
        fs::remove(host_path(kDirectory + "/" + stale.back()));
        fs::create_symlink(host_path("/outside"), host_path(kDirectory + "/" + stale.back()));
        for (const auto& file : kept)
            write_bytes(kDirectory + "/" + file, "<?xml");
        fs::remove(host_path(kDirectory + "/" + kept.back()));
        fs::create_directory(host_path(kDirectory + "/" + kept.back()));
        ASSERT_TRUE(write());
        auto expected = kept;
        expected.push_back(leaf);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(directory_entries(kDirectory), expected);
        EXPECT_EQ(read_bytes("/outside"), "kept");
    }
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
