#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <set>

#include "platform/applist/AppDirectory.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/uikit/png_codec.h"
#include "sim/device/DeviceGenerator.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDevice.h"

using namespace zimtone::device;
using platform::applist::read_app_directory;
using zimtone::colour::ColourModel;
using zimtone::colour::Image;
using zimtone::testing::TempDevice;

namespace fs = std::filesystem;

namespace {

const char* const kSettingsFile = "/User/Library/Preferences/org.quillhaven.zimtonepro2.plist";

std::string icon_name(int scale) {
    return scale == 1 ? "Icon-Small.png" : "Icon-Small@" + std::to_string(scale) + "x.png";
}

fs::path app_folder(const TempDevice& device, const SampleApp& app) {
    return device.path("/Applications/" + app.bundle_identifier + ".app");
}

// Mean straight colour (0..1) and share of fully transparent pixels.
struct IconStats {
    double red{0}, green{0}, blue{0};
    double clear_share{0};
    bool all_opaque{true};

    double luminance() const { return 0.299 * red + 0.587 * green + 0.114 * blue; }
    double saturation() const {
        const double hi = std::max({red, green, blue}), lo = std::min({red, green, blue});
        return hi > 0 ? (hi - lo) / hi : 0;
    }
};

IconStats stats_of(const Image& image) {
    IconStats s;
    size_t visible = 0, clear = 0;
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        const uint8_t alpha = image.pixels[i + 3];
        if (alpha != 255)
            s.all_opaque = false;
        if (alpha == 0)
            ++clear;
        if (alpha < 128)
            continue;
        ++visible;
        s.red += image.pixels[i] / 255.0;
        s.green += image.pixels[i + 1] / 255.0;
        s.blue += image.pixels[i + 2] / 255.0;
    }
    if (visible)
        s.red /= visible, s.green /= visible, s.blue /= visible;
    s.clear_share = double(clear) / (image.pixels.size() / 4);
    return s;
}

std::map<fs::path, std::vector<char>> snapshot(const fs::path& root) {
    std::map<fs::path, std::vector<char>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[entry.path()] =
            entry.is_regular_file() ? zimtone::testing::read_bytes(entry.path()) : std::vector<char>{};
    return files;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// One generated device shared by the tests that only read it.
class DefaultDevice : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shared_device = std::make_unique<TempDevice>();
        generate_default_device(shared_device->root());
    }
    static void TearDownTestSuite() { shared_device.reset(); }
    void SetUp() override { platform::foundation::set_device_root(shared_device->root()); }

    const TempDevice& device() const { return *shared_device; }

  private:
    static inline std::unique_ptr<TempDevice> shared_device;
};

} // namespace

TEST_F(DefaultDevice, ListsEverySampleAppUnderItsName) {
    std::map<std::string, std::string> found;
    for (const auto& app : read_app_directory())
        found[app.bundle_identifier] = app.display_name;
    std::map<std::string, std::string> expected;
    for (const auto& app : default_apps())
        expected[app.bundle_identifier] = app.display_name;
    EXPECT_EQ(found, expected);
    EXPECT_EQ(found.at("com.apple.MobileSMS"), "Messages");
    EXPECT_TRUE(fs::is_directory(device().path("/User/Library/Preferences")));
    EXPECT_TRUE(fs::is_directory(device().path("/var/lib/dpkg/info")));
    EXPECT_FALSE(fs::exists(device().path(kSettingsFile)));
}

TEST_F(DefaultDevice, IconFilesMatchTheKindOfEachApp) {
    for (const auto& app : default_apps()) {
        SCOPED_TRACE(app.bundle_identifier);
        for (int scale : {1, 2, 3}) {
            const fs::path file = app_folder(device(), app) / icon_name(scale);
            const bool listed = std::find(app.scales.begin(), app.scales.end(), scale) != app.scales.end();
            ASSERT_EQ(fs::exists(file), listed) << "scale " << scale;
            if (!listed)
                continue;
            auto image = platform::uikit::decodePng(file.string(), scale);
            ASSERT_TRUE(image) << "scale " << scale;
            EXPECT_EQ(image->pixel_width, 29 * scale);
            EXPECT_EQ(image->pixel_height, 29 * scale);
            const ColourModel model = app.kind == IconKind::GreyModel      ? ColourModel::Grey
                                      : app.kind == IconKind::PaletteModel ? ColourModel::Indexed
                                                                           : ColourModel::RGB;
            EXPECT_EQ(image->model, model);
            // RGB files always carry an alpha channel; grey and indexed ones only a transparency chunk.
            EXPECT_EQ(image->has_alpha, model == ColourModel::RGB || app.has_transparency);
            const IconStats s = stats_of(*image);
            EXPECT_EQ(s.all_opaque, !app.has_transparency);
            EXPECT_EQ(s.clear_share > 0, app.has_transparency);
            switch (app.kind) {
            case IconKind::Light:
                EXPECT_GT(s.luminance(), 0.75);
                break;
            case IconKind::Dark:
                EXPECT_LT(s.luminance(), 0.3);
                break;
            case IconKind::Saturated:
                EXPECT_GT(s.saturation(), 0.5);
                break;
            case IconKind::GreyModel:
                EXPECT_EQ(s.saturation(), 0);
                break;
            case IconKind::Transparent:
                EXPECT_GT(s.clear_share, 0.3);
                break;
            case IconKind::PaletteModel:
            case IconKind::None:
                break;
            }
        }
    }
}

TEST(DefaultApps, CoverEveryCaseTheAppListsMustHandle) {
    const auto apps = default_apps();
    std::set<IconKind> kinds;
    std::set<std::string> ids;
    bool only_one_scale = false, all_three_scales = false, grey_with_holes = false,
         palette_with_holes = false;
    for (const auto& app : apps) {
        kinds.insert(app.kind);
        ids.insert(app.bundle_identifier);
        EXPECT_EQ(app.scales.empty(), app.kind == IconKind::None) << app.bundle_identifier;
        only_one_scale |= app.scales == std::vector<int>{1};
        all_three_scales |= app.scales.size() == 3;
        grey_with_holes |= app.kind == IconKind::GreyModel && app.has_transparency;
        palette_with_holes |= app.kind == IconKind::PaletteModel && app.has_transparency;
    }
    EXPECT_EQ(kinds.size(), 7u);
    EXPECT_TRUE(only_one_scale && all_three_scales && grey_with_holes && palette_with_holes);
    EXPECT_EQ(ids.size(), apps.size());
    for (const char* excluded :
         {"com.apple.springboard", "com.apple.mobilesms.notification", "com.apple.webapp",
          "com.apple.CloudKit.ShareBear", "com.apple.social.SLGoogleAuth"})
        EXPECT_TRUE(ids.contains(excluded)) << excluded;

    std::vector<std::string> names;
    for (const auto& app : apps)
        names.push_back(app.display_name);
    auto by_case = names, ignoring_case = names;
    std::sort(by_case.begin(), by_case.end());
    std::sort(ignoring_case.begin(), ignoring_case.end(),
              [](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
    EXPECT_NE(by_case, ignoring_case);
}

TEST_F(DefaultDevice, MessagesIconIsGreenWithAWhiteBubble) {
    auto image = platform::uikit::decodePng(
        device().path("/Applications/com.apple.MobileSMS.app/Icon-Small.png").string(), 1);
    ASSERT_TRUE(image);
    auto pixel = [&](int x, int y) {
        return &image->pixels[(static_cast<size_t>(y) * image->pixel_width + x) * 4];
    };
    const uint8_t* corner = pixel(1, 1);
    EXPECT_GT(corner[1], corner[0] + 60);
    EXPECT_GT(corner[1], corner[2] + 60);
    const uint8_t* bubble = pixel(14, 13);
    EXPECT_EQ(bubble[0], 255);
    EXPECT_EQ(bubble[1], 255);
    EXPECT_EQ(bubble[2], 255);
}

TEST(DefaultDeviceGeneration, RunningAgainChangesNothingAndKeepsTheSettingsFile) {
    TempDevice device;
    const std::string settings =
        "<?xml version=\"1.0\"?>\n<plist><dict><key>BannersEnabled</key><false/></dict></plist>\n";
    zimtone::testing::write_bytes(device.path(kSettingsFile), settings);
    const fs::path foreign = device.path("/Applications/com.example.user.app/Info.plist");
    zimtone::testing::write_bytes(foreign, "user app");

    generate_default_device(device.root());
    const auto first = snapshot(device.root());
    const fs::path stale = device.path("/Applications/com.apple.Maps.app/Icon-Small@3x.png");
    zimtone::testing::write_bytes(stale, "left over from an older layout");
    generate_default_device(device.root());

    EXPECT_EQ(snapshot(device.root()), first);
    EXPECT_FALSE(fs::exists(stale));
    auto kept = zimtone::testing::read_bytes(device.path(kSettingsFile));
    EXPECT_EQ(std::string(kept.begin(), kept.end()), settings);
    auto user_app = zimtone::testing::read_bytes(foreign);
    EXPECT_EQ(std::string(user_app.begin(), user_app.end()), "user app");
}
