#include <gtest/gtest.h>

#include <map>

#include "platform/applist/ALApplicationList.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyList.h"
#include "platform/uikit/png_codec.h"
#include "sim/device/DeviceGenerator.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDevice.h"

using namespace platform::applist;
using namespace platform::foundation;
using namespace platform::runtime;
using platform::uikit::UIImage;
using zimtone::testing::TempDevice;

namespace {

// What one icon file of a test app holds: its pixel size, or a damaged file when 0.
using IconFiles = std::map<int, int>; // scale -> pixel size

std::string icon_name(int scale) {
    return scale == 1 ? "Icon-Small.png" : "Icon-Small@" + std::to_string(scale) + "x.png";
}

// Installs an app whose icon files are one flat grey each, 80 + scale, so a test can tell which
// file an icon came from.
void install_app(const std::string& id, const std::string& name, const IconFiles& icons = {}) {
    const std::string folder = "/Applications/" + id + ".app";
    std::filesystem::create_directories(resolve_device_path(folder));
    auto info = NSMutableDictionary::create();
    info->set("CFBundleIdentifier", ns(id));
    info->set("CFBundleDisplayName", ns(name));
    ASSERT_TRUE(write_property_list_file(folder + "/Info.plist", info));
    for (auto [scale, pixels] : icons) {
        const auto file = resolve_device_path(folder + "/" + icon_name(scale));
        if (pixels == 0) {
            zimtone::testing::write_bytes(file, "\x89PNG damaged");
            continue;
        }
        std::vector<uint8_t> rgba(static_cast<size_t>(pixels) * pixels * 4, 255);
        for (size_t i = 0; i < rgba.size(); i += 4)
            rgba[i] = rgba[i + 1] = rgba[i + 2] = uint8_t(80 + scale);
        ASSERT_TRUE(platform::uikit::encodePngRGBA(file.string(), pixels, pixels, rgba.data()));
    }
}

Ref<UIImage> icon(const Ref<ALApplicationList>& list, uint64_t size, const char* id) {
    return msg<Ref<UIImage>>(list, "iconOfSize:forDisplayIdentifier:"_sel, size, id ? ns(id) : nullptr);
}

Ref<Object> value(const Ref<ALApplicationList>& list, const char* key, const char* id) {
    return msg<Ref<Object>>(list, "valueForKey:forDisplayIdentifier:"_sel, ns(key), ns(id));
}

} // namespace

TEST(ApplicationList, ApplicationsMapEveryIdentifierToItsDisplayName) {
    TempDevice device;
    install_app("com.example.b", "Bee");
    install_app("com.example.a", "ant");
    auto list = ALApplicationList::withAppsFolder();
    auto apps = msg<Ref<NSDictionary>>(list, "applications"_sel);
    ASSERT_TRUE(apps);
    EXPECT_EQ(apps->keys(), (std::vector<std::string>{"com.example.a", "com.example.b"}));
    EXPECT_EQ(*string_of(apps->get("com.example.a")), "ant");
    EXPECT_EQ(*string_of(apps->get("com.example.b")), "Bee");
}

TEST(ApplicationList, ValueForKeyAnswersOnlyTheDisplayName) {
    TempDevice device;
    install_app("com.example.a", "Ant");
    auto list = ALApplicationList::withAppsFolder();
    struct Case {
        const char* key;
        const char* id;
        const char* expected; // nullptr for nil
    };
    const Case cases[] = {
        {"displayName", "com.example.a", "Ant"},        {"displayName", "com.example.unknown", nullptr},
        {"displayName", "COM.EXAMPLE.A", nullptr},      {"DisplayName", "com.example.a", nullptr},
        {"bundleIdentifier", "com.example.a", nullptr},
    };
    for (const auto& c : cases) {
        auto result = value(list, c.key, c.id);
        if (c.expected) {
            ASSERT_NE(string_of(result.get()), nullptr) << c.key << " " << c.id;
            EXPECT_EQ(*string_of(result.get()), c.expected);
        } else {
            EXPECT_FALSE(result) << c.key << " " << c.id;
        }
    }
    EXPECT_FALSE(msg<Ref<Object>>(list, "valueForKey:forDisplayIdentifier:"_sel, ns("displayName"), nullptr));
}

TEST(ApplicationList, SmallIconComesFromTheMostDetailedFileAtTwentyNinePoints) {
    struct Case {
        IconFiles files;
        double expected_scale;
    };
    const Case cases[] = {
        {{{1, 29}}, 1},
        {{{1, 29}, {2, 58}}, 2},
        {{{1, 29}, {2, 58}, {3, 87}}, 3},
        {{{1, 29}, {3, 87}}, 3},
        {{{2, 58}}, 2},
        {{{1, 29}, {2, 58}, {3, 0}}, 2}, // a damaged file gives way to the next
        {{{1, 40}}, 1},                  // an odd pixel size still shows at 29 points
    };
    for (const auto& c : cases) {
        TempDevice device;
        install_app("com.example.icon", "Icon", c.files);
        auto list = ALApplicationList::withAppsFolder();
        auto image = icon(list, 29, "com.example.icon");
        ASSERT_TRUE(image) << "scale " << c.expected_scale;
        EXPECT_EQ(image->scale(), c.expected_scale);
        EXPECT_EQ(image->size().width, 29);
        EXPECT_EQ(image->size().height, 29);
        EXPECT_EQ(image->image().pixel_width, c.files.at(static_cast<int>(c.expected_scale)));
        EXPECT_EQ(image->image().pixels[0], 80 + c.expected_scale);
    }
}

TEST(ApplicationList, IconFilesOverTheIconLimitAreRefusedWithANote) {
    struct Case {
        IconFiles files;
        double expected_scale; // 0: no icon at all
        const char* note;      // the file named in the log, or none
    };
    const Case cases[] = {
        {{{2, 1024}}, 2, nullptr},
        {{{1, 1025}}, 0, "Icon-Small.png is 1025 x 1025 pixels, over the 1024-pixel limit of an icon"},
        {{{1, 29}, {3, 2048}}, 1, "Icon-Small@3x.png is 2048 x 2048 pixels"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.rbegin()->second);
        TempDevice device;
        install_app("com.example.huge", "Huge", c.files);
        auto list = ALApplicationList::withAppsFolder();
        ::testing::internal::CaptureStderr();
        auto image = icon(list, 29, "com.example.huge");
        const std::string log = ::testing::internal::GetCapturedStderr();
        if (c.note)
            EXPECT_NE(log.find(c.note), std::string::npos) << log;
        else
            EXPECT_EQ(log, "");
        if (c.expected_scale == 0) {
            EXPECT_FALSE(image);
            continue;
        }
        ASSERT_TRUE(image);
        EXPECT_EQ(image->scale(), c.expected_scale);
    }
}

TEST(ApplicationList, IconIsNilForUnknownAppsAppsWithoutIconAndOtherSizes) {
    TempDevice device;
    install_app("com.example.icon", "Icon", {{1, 29}, {2, 58}, {3, 87}});
    install_app("com.example.bare", "Bare");
    install_app("com.example.broken", "Broken", {{1, 0}});
    auto list = ALApplicationList::withAppsFolder();
    EXPECT_TRUE(icon(list, 29, "com.example.icon"));
    for (uint64_t size : {0, 28, 30, 58, 87, 1029})
        EXPECT_FALSE(icon(list, size, "com.example.icon")) << size;
    EXPECT_FALSE(icon(list, 29, "com.example.bare"));
    EXPECT_FALSE(icon(list, 29, "com.example.broken"));
    EXPECT_FALSE(icon(list, 29, "com.example.unknown"));
    EXPECT_FALSE(icon(list, 29, nullptr));
}

TEST(ApplicationList, RegistersTheSelectorsWithTheirTypes) {
    auto list = ALApplicationList::withApps({});
    struct Case {
        const char* selector;
        const char* types;
    };
    const Case cases[] = {
        {"applications", "@@:"},
        {"valueForKey:forDisplayIdentifier:", "@@:@@"},
        {"iconOfSize:forDisplayIdentifier:", "@@:Q@"},
    };
    for (const auto& c : cases) {
        const Method* method = lookup_method(list.get(), sel_registerName(c.selector));
        ASSERT_NE(method, nullptr) << c.selector;
        EXPECT_EQ(*method->types, c.types) << c.selector;
    }
    EXPECT_EQ(object_getClass(list.get()), objc_getClass("ALApplicationList"));
}

TEST(ApplicationList, KeepsDecodedIconsAndTheAppsItFoundAtCreation) {
    TempDevice device;
    install_app("com.example.icon", "Icon", {{1, 29}});
    auto list = ALApplicationList::withAppsFolder();
    auto first = icon(list, 29, "com.example.icon");
    ASSERT_TRUE(first);

    std::filesystem::remove(device.path("/Applications/com.example.icon.app/Icon-Small.png"));
    install_app("com.example.later", "Later", {{1, 29}});
    EXPECT_EQ(icon(list, 29, "com.example.icon").get(), first.get());
    EXPECT_FALSE(icon(list, 29, "com.example.later"));
    EXPECT_FALSE(value(list, "displayName", "com.example.later"));

    auto fresh = ALApplicationList::withAppsFolder();
    EXPECT_TRUE(icon(fresh, 29, "com.example.later"));
    EXPECT_FALSE(icon(fresh, 29, "com.example.icon"));
}

// The only test that touches the process's shared list, which is made once per process.
TEST(SharedApplicationList, IsOneObjectReadFromTheDeviceOnce) {
    TempDevice device;
    zimtone::device::generate_default_device(device.root());

    auto shared = ALApplicationList::sharedApplicationList();
    ASSERT_TRUE(shared);
    auto by_message = msg<Ref<Object>>(ALApplicationList::runtime_class(), "sharedApplicationList"_sel);
    EXPECT_EQ(by_message.get(), shared.get());
    EXPECT_EQ(ALApplicationList::sharedApplicationList().get(), shared.get());

    auto apps = msg<Ref<NSDictionary>>(shared, "applications"_sel);
    ASSERT_TRUE(apps);
    EXPECT_EQ(apps->count(), zimtone::device::default_apps().size());
    EXPECT_EQ(*string_of(value(shared, "displayName", "com.apple.MobileSMS").get()), "Messages");
    auto messages = icon(shared, 29, "com.apple.MobileSMS");
    ASSERT_TRUE(messages);
    EXPECT_EQ(messages->scale(), 3);

    install_app("com.example.installed.later", "Later", {{1, 29}});
    EXPECT_FALSE(
        value(ALApplicationList::sharedApplicationList(), "displayName", "com.example.installed.later"));
}
