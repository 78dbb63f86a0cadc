// Settings files that are broken in every way a device can break them: each loader falls back to
// the defaults without crashing or hanging, and the per-app colours of the last good load stay;
// a writer leaves such a file as it is rather than replace it with a dictionary lacking its keys.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SettingsFile.h"
#include "settings/Keys.h"
#include "settings/Loaders.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDevice.h"

using namespace platform::foundation;
using namespace zimtone::settings;
using platform::runtime::Object;
using platform::runtime::Ref;
using zimtone::testing::entry_at;
using zimtone::testing::write_bytes;
namespace fs = std::filesystem;

namespace {

// Every key away from its default and one per-app colour.
Ref<NSMutableDictionary> non_default_settings() {
    auto settings = NSMutableDictionary::create();
    for (const KeyInfo& info : kKeys) {
        if (info.type == KeyType::Bool)
            settings->set(std::string(info.key), NSNumber::numberWithBool(info.default_value == 0));
        else
            settings->set(std::string(info.key), NSNumber::numberWithDouble(0.25));
    }
    auto entry = NSMutableDictionary::create();
    entry->set("com.example.kept", ns("112233"));
    settings->set(kPerAppColoursKey, NSArray::create({entry}));
    return settings;
}

std::string serialised(PlistFormat format) {
    return serialise_property_list(non_default_settings().get(), format);
}

bool at_default(const SettingsState& s, const KeyInfo& info) {
    Field field = field_of(info.key);
    if (auto* b = std::get_if<bool SettingsState::*>(&field))
        return s.*(*b) == (info.default_value != 0);
    return s.*std::get<double SettingsState::*>(field) == info.default_value;
}

void load_every_group() {
    loadBannerSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
    loadNotificationCenterSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
    loadLockscreenSettings(nullptr, nullptr, nullptr, nullptr, nullptr);
    loadRequests(nullptr, nullptr, nullptr, nullptr, nullptr);
}

struct BrokenFile {
    const char* name;
    std::function<void(const fs::path&)> make;
    bool needs_unprivileged{false}; // permissions do not stop root
    bool holds_no_keys{false};      // so a writer may replace it: nothing can be lost
};

std::ostream& operator<<(std::ostream& out, const BrokenFile& c) {
    return out << c.name;
}

const BrokenFile kBrokenFiles[] = {
    {"TruncatedXml",
     [](const fs::path& f) {
         std::string xml = serialised(PlistFormat::XML);
         write_bytes(f, xml.substr(0, xml.size() / 2));
     }},
    {"TruncatedBinary",
     [](const fs::path& f) {
         std::string binary = serialised(PlistFormat::Binary);
         write_bytes(f, binary.substr(0, binary.size() - 9));
     }},
    {"Empty", [](const fs::path& f) { write_bytes(f, ""); }, false, true},
    {"Garbage",
     [](const fs::path& f) {
         std::mt19937 random(7);
         std::string bytes(4096, '\0');
         for (char& c : bytes)
             c = static_cast<char>(random());
         write_bytes(f, bytes);
     }},
    {"BinaryHeaderThenGarbage",
     [](const fs::path& f) { write_bytes(f, "bplist00" + std::string(200, '\xff')); }},
    {"ArrayRoot",
     [](const fs::path& f) {
         write_bytes(f, serialise_property_list(NSArray::create({ns("x")}).get(), PlistFormat::XML));
     }},
    {"Directory", [](const fs::path& f) { fs::create_directory(f); }},
    {"SymlinkLoop", [](const fs::path& f) { fs::create_symlink(f.filename(), f); }},
    {"FifoWithoutWriter", [](const fs::path& f) { ASSERT_EQ(mkfifo(f.c_str(), 0644), 0); }},
    {"Unreadable",
     [](const fs::path& f) {
         write_bytes(f, serialised(PlistFormat::XML));
         fs::permissions(f, fs::perms::none);
     },
     true},
    // A well-formed property list of 50 MB: far beyond any settings file, so it is refused unread.
    {"FiftyMegabytes",
     [](const fs::path& f) {
         auto settings = non_default_settings();
         settings->set("Padding", ns(std::string(50u << 20, 'x')));
         write_bytes(f, serialise_property_list(settings.get(), PlistFormat::XML));
         ASSERT_GT(fs::file_size(f), 50u << 20);
     }},
};

class BrokenSettingsFile : public ::testing::TestWithParam<BrokenFile> {
  protected:
    void SetUp() override {
        file_ = device_.path(kSettingsFile);
        fs::create_directories(file_.parent_path());
        write_bytes(file_, serialised(PlistFormat::Binary));
        load_every_group();
        ASSERT_TRUE(state().dictionary) << "the good file did not load";
        ASSERT_FALSE(at_default(state(), kKeys.front()));
        fs::remove(file_);
    }
    zimtone::testing::TempDevice device_;
    fs::path file_;
};

} // namespace

TEST_P(BrokenSettingsFile, EveryLoaderFallsBackToTheDefaultsAndKeepsThePerAppColours) {
    const BrokenFile& broken = GetParam();
    if (broken.needs_unprivileged && geteuid() == 0)
        GTEST_SKIP() << "file permissions do not apply to root";
    broken.make(file_);
    load_every_group();

    const SettingsState& s = state();
    EXPECT_FALSE(s.dictionary);
    for (const KeyInfo& info : kKeys)
        EXPECT_TRUE(at_default(s, info)) << info.key;
    ASSERT_TRUE(s.per_app_colours);
    auto kept = s.per_app_colours->get("com.example.kept");
    ASSERT_TRUE(string_of(kept.get()));
    EXPECT_EQ(*string_of(kept.get()), "112233");
}

// A writer never replaces a file it could not read with a dictionary that lacks the file's keys:
// the write fails with the reason and the file stays exactly as it is. An empty file has no keys.
TEST_P(BrokenSettingsFile, AWriterRefusesToReplaceItAndLeavesItAsItIs) {
    const BrokenFile& broken = GetParam();
    if (broken.needs_unprivileged && geteuid() == 0)
        GTEST_SKIP() << "file permissions do not apply to root";
    broken.make(file_);
    const std::string before = entry_at(file_);
    auto update = [] {
        return update_dictionary_file(kSettingsFile, [](NSMutableDictionary& s) {
            s.set("BannerAlpha", NSNumber::numberWithDouble(0.5));
        });
    };
    if (broken.holds_no_keys) {
        auto updated = update();
        EXPECT_TRUE(updated) << updated.error();
        auto written = read_dictionary_file(kSettingsFile);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->count(), 1u);
        return;
    }
    auto updated = update();
    EXPECT_FALSE(updated);
    EXPECT_TRUE(updated.error().starts_with("cannot read " + std::string(kSettingsFile) + ": "))
        << updated.error();
    EXPECT_TRUE(entry_at(file_) == before) << "the file was changed";
    for (const auto& entry : fs::directory_iterator(file_.parent_path()))
        EXPECT_EQ(entry.path(), file_) << "left beside it";
}

INSTANTIATE_TEST_SUITE_P(Faults, BrokenSettingsFile, ::testing::ValuesIn(kBrokenFiles),
                         [](const auto& info) { return std::string(info.param.name); });
