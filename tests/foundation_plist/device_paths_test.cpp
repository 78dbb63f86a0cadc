// Device paths resolve under the device root and never climb out of it.
#include <gtest/gtest.h>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"
#include "plist_test_support.h"

using namespace platform::foundation;

namespace {
class DevicePathResolution : public plist_test::DeviceRootTest {};
} // namespace

TEST_F(DevicePathResolution, DevicePathsLandUnderTheRoot) {
    const std::pair<const char*, const char*> cases[] = {
        {"/User/Library/Preferences/a.plist", "User/Library/Preferences/a.plist"},
        {"User/Library/a.plist", "User/Library/a.plist"},
        {"/../../etc/passwd", "etc/passwd"},
        {"/User/../../../etc/passwd", "etc/passwd"},
        {"/User/./Library//a.plist", "User/Library/a.plist"},
    };
    for (const auto& [device, under_root] : cases) {
        SCOPED_TRACE(device);
        EXPECT_EQ(resolve_device_path(device), root_ / under_root);
    }
    EXPECT_EQ(resolve_device_path("/"), root_);
}

TEST_F(DevicePathResolution, FilesWrittenAboveTheRootStayInside) {
    auto dict = NSMutableDictionary::create();
    dict->set("k", NSNumber::numberWithInteger(1));
    ASSERT_TRUE(write_property_list_file("/../../escape.plist", dict.get()));
    EXPECT_TRUE(std::filesystem::exists(root_ / "escape.plist"));
    EXPECT_FALSE(std::filesystem::exists(root_.parent_path() / "escape.plist"));
    EXPECT_TRUE(read_dictionary_file("/escape.plist"));
    EXPECT_FALSE(write_property_list_file("/", dict.get()));
}
