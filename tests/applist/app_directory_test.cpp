#include <gtest/gtest.h>

#include "platform/applist/AppDirectory.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDevice.h"

using namespace platform::applist;
using namespace platform::foundation;
using zimtone::testing::TempDevice;

namespace {

struct InfoEntry {
    const char* key;
    const char* value;
};

void write_info(const std::string& folder, const std::vector<InfoEntry>& entries) {
    auto info = NSMutableDictionary::create();
    for (const auto& e : entries)
        info->set(e.key, ns(e.value));
    std::filesystem::create_directories(resolve_device_path("/Applications/" + folder));
    ASSERT_TRUE(write_property_list_file("/Applications/" + folder + "/Info.plist", info));
}

std::vector<std::string> identifiers(const std::vector<AppRecord>& apps) {
    std::vector<std::string> ids;
    for (const auto& app : apps)
        ids.push_back(app.bundle_identifier);
    return ids;
}

} // namespace

TEST(AppDirectory, ReadsAppFoldersInFolderNameOrder) {
    TempDevice device;
    write_info("b.app", {{"CFBundleIdentifier", "com.example.b"}, {"CFBundleDisplayName", "Bee"}});
    write_info("a.app", {{"CFBundleIdentifier", "com.example.a"}, {"CFBundleDisplayName", "Ant"}});
    write_info("c.app", {{"CFBundleIdentifier", "com.example.c"}, {"CFBundleDisplayName", "Cat"}});

    auto apps = read_app_directory();
    EXPECT_EQ(identifiers(apps),
              (std::vector<std::string>{"com.example.a", "com.example.b", "com.example.c"}));
    ASSERT_EQ(apps.size(), 3u);
    EXPECT_EQ(apps[1].display_name, "Bee");
    EXPECT_EQ(apps[1].bundle_folder, device.path("/Applications/b.app"));
}

TEST(AppDirectory, DisplayNameFallsBackToBundleNameThenIdentifier) {
    struct Case {
        std::vector<InfoEntry> info;
        const char* expected;
    };
    const Case cases[] = {
        {{{"CFBundleIdentifier", "id.x"}, {"CFBundleDisplayName", "Shown"}, {"CFBundleName", "Bundle"}},
         "Shown"},
        {{{"CFBundleIdentifier", "id.x"}, {"CFBundleName", "Bundle"}}, "Bundle"},
        {{{"CFBundleIdentifier", "id.x"}, {"CFBundleDisplayName", ""}, {"CFBundleName", "Bundle"}}, "Bundle"},
        {{{"CFBundleIdentifier", "id.x"}}, "id.x"},
    };
    for (const auto& c : cases) {
        TempDevice device;
        write_info("x.app", c.info);
        auto apps = read_app_directory();
        ASSERT_EQ(apps.size(), 1u);
        EXPECT_EQ(apps[0].display_name, c.expected);
    }
}

TEST(AppDirectory, SkipsWhatIsNotAnApp) {
    TempDevice device;
    write_info("good.app", {{"CFBundleIdentifier", "com.example.good"}});
    write_info("noid.app", {{"CFBundleDisplayName", "No Identifier"}});
    write_info("notabundle", {{"CFBundleIdentifier", "com.example.folder"}});
    std::filesystem::create_directories(device.path("/Applications/empty.app"));
    zimtone::testing::write_bytes(device.path("/Applications/garbage.app/Info.plist"), "not a property list");
    zimtone::testing::write_bytes(device.path("/Applications/file.app"), "a file, not a folder");
    // A root that is not a dictionary carries no identifier.
    std::filesystem::create_directories(device.path("/Applications/array.app"));
    ASSERT_TRUE(write_property_list_file("/Applications/array.app/Info.plist",
                                         NSMutableArray::create({ns("com.example.array")}).get()));

    EXPECT_EQ(identifiers(read_app_directory()), std::vector<std::string>{"com.example.good"});
}

TEST(AppDirectory, FirstFolderWinsADuplicateIdentifier) {
    TempDevice device;
    write_info("one.app", {{"CFBundleIdentifier", "com.example.same"}, {"CFBundleDisplayName", "One"}});
    write_info("two.app", {{"CFBundleIdentifier", "com.example.same"}, {"CFBundleDisplayName", "Two"}});
    auto apps = read_app_directory();
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(apps[0].display_name, "One");
}

TEST(AppDirectory, MissingFolderReadsAsNoApps) {
    TempDevice device;
    EXPECT_TRUE(read_app_directory().empty());
    EXPECT_TRUE(read_app_directory("/Somewhere/Else").empty());
}

TEST(AppDirectory, ReadsAnyDeviceFolderInsideTheRoot) {
    TempDevice device;
    auto info = NSMutableDictionary::create();
    info->set("CFBundleIdentifier", ns("com.example.elsewhere"));
    std::filesystem::create_directories(device.path("/Other/e.app"));
    ASSERT_TRUE(write_property_list_file("/Other/e.app/Info.plist", info));
    EXPECT_EQ(identifiers(read_app_directory("Other")), std::vector<std::string>{"com.example.elsewhere"});
}
