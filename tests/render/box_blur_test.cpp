#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "platform/render/BoxBlur.h"

using platform::render::box_blur;

namespace {

constexpr uint32_t kOpaqueTeal = 0xFF008080;

TEST(BoxBlur, FlatBlockStaysExactlyFlatAtEveryRadius) {
    for (int radius : {1, 2, 5, 30, 200}) {
        std::vector<uint32_t> block(37 * 11, kOpaqueTeal);
        box_blur(block.data(), 37, 11, 37, radius);
        EXPECT_EQ(std::count(block.begin(), block.end(), kOpaqueTeal), static_cast<long>(block.size()))
            << "radius " << radius;
    }
}

TEST(BoxBlur, AnEdgeBecomesARampAndFarPixelsKeepTheirValue) {
    const int width = 60;
    std::vector<uint32_t> row(width);
    for (int x = 0; x < width; ++x)
        row[x] = x < width / 2 ? 0xFF000000 : 0xFFFFFFFF;
    box_blur(row.data(), width, 1, width, 6);
    auto red = [&](int x) { return static_cast<int>((row[x] >> 16) & 0xFF); };
    EXPECT_EQ(red(0), 0);
    EXPECT_EQ(red(width - 1), 255);
    for (int x = 1; x < width; ++x)
        EXPECT_GE(red(x), red(x - 1)) << "the ramp never turns back at " << x;
    EXPECT_GT(red(width / 2 - 1), 40);
    EXPECT_LT(red(width / 2), 215);
    EXPECT_EQ(row[5] >> 24, 0xFFu) << "alpha of an opaque row stays opaque";
}

TEST(BoxBlur, ChannelsBlurIndependentlyAndPremultipliedStaysValid) {
    // One bright, half-transparent pixel in a transparent field.
    std::vector<uint32_t> block(9 * 9, 0);
    block[4 * 9 + 4] = 0x80804020;
    box_blur(block.data(), 9, 9, 9, 3);
    for (uint32_t p : block) {
        const uint32_t a = p >> 24;
        EXPECT_LE((p >> 16) & 0xFF, a);
        EXPECT_LE((p >> 8) & 0xFF, a);
        EXPECT_LE(p & 0xFF, a);
    }
    EXPECT_GT(block[4 * 9 + 3] >> 24, 0u) << "the pixel spread to its neighbour";
    EXPECT_LT(block[4 * 9 + 4] >> 24, 0x80u) << "and lost strength where it stood";
}

TEST(BoxBlur, StridePaddingIsLeftAlone) {
    const int width = 8, height = 5, stride = 12;
    std::vector<uint32_t> block(stride * height, 0xDEADBEEF);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            block[y * stride + x] = (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000;
    box_blur(block.data(), width, height, stride, 3);
    for (int y = 0; y < height; ++y)
        for (int x = width; x < stride; ++x)
            EXPECT_EQ(block[y * stride + x], 0xDEADBEEFu) << "(" << x << ", " << y << ")";
    EXPECT_NE(block[0], 0xFF000000u) << "the checkerboard inside was blurred";
}

TEST(BoxBlur, NothingToDoLeavesPixelsUntouched) {
    struct Case {
        int width, height, stride, radius;
    };
    for (const Case c :
         {Case{4, 4, 4, 0}, Case{4, 4, 4, -3}, Case{0, 4, 4, 3}, Case{4, 0, 4, 3}, Case{4, 4, 2, 3}}) {
        std::vector<uint32_t> block(16);
        std::iota(block.begin(), block.end(), 0xFF000000u);
        const auto before = block;
        box_blur(block.data(), c.width, c.height, c.stride, c.radius);
        EXPECT_EQ(block, before) << c.width << "x" << c.height << " stride " << c.stride << " radius "
                                 << c.radius;
    }
    box_blur(nullptr, 4, 4, 4, 3); // a null block is ignored
}

} // namespace
