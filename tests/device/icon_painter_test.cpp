#include <gtest/gtest.h>

#include <set>

#include "platform/uikit/png_codec.h"
#include "sim/device/IconPainter.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDevice.h"

using namespace zimtone::device;
using zimtone::colour::ColourModel;
using zimtone::testing::TempDevice;

namespace {

constexpr Rgba kRed{200, 30, 40};
constexpr Rgba kWhite{255, 255, 255};
constexpr Rgba kClear{0, 0, 0, 0};

struct Pixel {
    int red, green, blue, alpha;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& p) {
    return out << "(" << p.red << ", " << p.green << ", " << p.blue << ", " << p.alpha << ")";
}

Pixel at(const std::vector<uint8_t>& rgba, int size, int x, int y) {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

IconDesign plate(Rgba colour, double margin = 0, double corner_radius = 0) {
    return {colour, colour, margin, corner_radius, {}};
}

} // namespace

TEST(IconPainter, PaintsBackgroundMarginsCornersAndShapes) {
    constexpr int size = 20;
    struct Case {
        const char* what;
        IconDesign design;
        int x, y;
        Pixel expected;
    };
    const Case cases[] = {
        {"plain background", plate(kRed), 0, 0, {200, 30, 40, 255}},
        {"margin stays clear", plate(kRed, 0.1), 1, 10, {0, 0, 0, 0}},
        {"inside the margin", plate(kRed, 0.1), 3, 10, {200, 30, 40, 255}},
        {"rounded corner is clear", plate(kRed, 0, 0.3), 0, 0, {0, 0, 0, 0}},
        {"rounded edge middle is filled", plate(kRed, 0, 0.3), 0, 10, {200, 30, 40, 255}},
        {"shaded from top to bottom", {{0, 0, 0}, {200, 200, 200}, 0, 0, {}}, 5, 19, {195, 195, 195, 255}},
        {"ellipse over background",
         {kRed, kRed, 0, 0, {{Ellipse{0.5, 0.5, 0.2, 0.2}, kWhite}}},
         10,
         10,
         {255, 255, 255, 255}},
        {"stroke covers its line",
         {kRed, kRed, 0, 0, {{Stroke{0.1, 0.1, 0.9, 0.9, 0.1}, kWhite}}},
         15,
         15,
         {255, 255, 255, 255}},
        {"stroke leaves the rest",
         {kRed, kRed, 0, 0, {{Stroke{0.1, 0.1, 0.9, 0.9, 0.1}, kWhite}}},
         15,
         4,
         {200, 30, 40, 255}},
        {"triangle inside",
         {kRed, kRed, 0, 0, {{Triangle{0, 0, 1, 0, 0, 1}, kWhite}}},
         4,
         4,
         {255, 255, 255, 255}},
        {"triangle outside",
         {kRed, kRed, 0, 0, {{Triangle{0, 0, 1, 0, 0, 1}, kWhite}}},
         16,
         16,
         {200, 30, 40, 255}},
        {"translucent shape alone",
         {kClear, kClear, 0, 0, {{RoundedRect{0, 0, 1, 1}, {0, 0, 255, 64}}}},
         10,
         10,
         {0, 0, 255, 64}},
        {"translucent shape over white",
         {kWhite, kWhite, 0, 0, {{RoundedRect{0, 0, 1, 1}, {0, 0, 0, 128}}}},
         10,
         10,
         {127, 127, 127, 255}},
    };
    for (const auto& c : cases) {
        auto rgba = paint_icon(c.design, size, Antialiasing::On);
        ASSERT_EQ(rgba.size(), size_t(size * size * 4));
        EXPECT_EQ(at(rgba, size, c.x, c.y), c.expected) << c.what;
    }
}

TEST(IconPainter, AntialiasingSoftensEdgesOnlyWhenOn) {
    const IconDesign disc{kClear, kClear, 0, 0, {{Ellipse{0.5, 0.5, 0.37, 0.37}, kWhite}}};
    auto alphas = [&](Antialiasing aa) {
        std::set<int> seen;
        auto rgba = paint_icon(disc, 29, aa);
        for (size_t i = 3; i < rgba.size(); i += 4)
            seen.insert(rgba[i]);
        return seen;
    };
    EXPECT_EQ(alphas(Antialiasing::Off), (std::set<int>{0, 255}));
    EXPECT_GT(alphas(Antialiasing::On).size(), 2u);
}

TEST(IconPainter, GreyFileKeepsLevelsAndMakesClearPixelsTransparent) {
    TempDevice device;
    const IconDesign design{{90, 90, 90}, {90, 90, 90}, 0, 0.3, {{Ellipse{0.5, 0.5, 0.2, 0.2}, {0, 0, 0}}}};
    const auto file = device.root() / "grey.png";
    write_icon_file(file, design, 29, StorageModel::Grey);
    auto image = platform::uikit::decodePng(file.string(), 1);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->model, ColourModel::Grey);
    EXPECT_TRUE(image->has_alpha);
    EXPECT_EQ(at(image->pixels, 29, 0, 0).alpha, 0);
    EXPECT_EQ(at(image->pixels, 29, 14, 14), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(at(image->pixels, 29, 3, 14), (Pixel{90, 90, 90, 255}));
}

TEST(IconPainter, IndexedFileKeepsExactColoursAndTransparency) {
    TempDevice device;
    const IconDesign design{kRed, kRed, 0.1, 0, {{Ellipse{0.5, 0.5, 0.2, 0.2}, {10, 200, 30}}}};
    const auto file = device.root() / "palette.png";
    write_icon_file(file, design, 58, StorageModel::Indexed);
    auto image = platform::uikit::decodePng(file.string(), 2);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->model, ColourModel::Indexed);
    EXPECT_TRUE(image->has_alpha);
    EXPECT_EQ(at(image->pixels, 58, 0, 0).alpha, 0);
    EXPECT_EQ(at(image->pixels, 58, 29, 29), (Pixel{10, 200, 30, 255}));
    EXPECT_EQ(at(image->pixels, 58, 10, 29), (Pixel{200, 30, 40, 255}));
}

TEST(IconPainter, RefusesDesignsAFileCannotHold) {
    TempDevice device;
    // A 20 x 20 chequer of distinct colours needs more than 256 palette entries.
    IconDesign chequer;
    for (int row = 0; row < 20; ++row)
        for (int column = 0; column < 20; ++column)
            chequer.shapes.push_back(
                {RoundedRect{column / 20.0, row / 20.0, (column + 1) / 20.0, (row + 1) / 20.0},
                 {uint8_t(row * 12), uint8_t(column * 12), 90}});
    EXPECT_NO_THROW(write_icon_file(device.root() / "rgb.png", chequer, 20, StorageModel::RGB));
    EXPECT_THROW(write_icon_file(device.root() / "many.png", chequer, 40, StorageModel::Indexed),
                 std::runtime_error);
    EXPECT_THROW(write_icon_file(device.root() / "empty.png", chequer, 0, StorageModel::RGB),
                 std::runtime_error);
    EXPECT_THROW(write_icon_file(device.root() / "no/such/folder/icon.png", chequer, 29, StorageModel::RGB),
                 std::runtime_error);
}
