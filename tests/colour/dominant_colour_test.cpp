#include "colour/dominant_colour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace zimtone::colour;

namespace {

struct Rgba {
    uint8_t red, green, blue, alpha;
};

Image solidImage(int pixel_width, int pixel_height, double scale, Rgba colour,
                 ColourModel model = ColourModel::RGB) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < pixel_width * pixel_height; ++i)
        pixels.insert(pixels.end(), {colour.red, colour.green, colour.blue, colour.alpha});
    return Image::fromPixels(pixel_width, pixel_height, scale, std::move(pixels), model);
}

Image imageFromRows(int pixel_width, double scale, const std::vector<Rgba>& rgba) {
    std::vector<uint8_t> pixels;
    for (const auto& p : rgba)
        pixels.insert(pixels.end(), {p.red, p.green, p.blue, p.alpha});
    return Image::fromPixels(pixel_width, static_cast<int>(rgba.size()) / pixel_width, scale,
                             std::move(pixels));
}

// Busy, deterministic content: every alpha class (clear, opaque, partial) and uneven colours.
Image patternImage(int pixel_width, int pixel_height, double scale, uint32_t seed) {
    std::vector<uint8_t> pixels;
    uint32_t state = seed;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<uint8_t>(state >> 24);
    };
    for (int i = 0; i < pixel_width * pixel_height; ++i) {
        uint8_t red = next(), green = next(), blue = next(), pick = next();
        uint8_t alpha = pick < 40 ? 0 : pick < 160 ? 255 : next();
        pixels.insert(pixels.end(), {red, green, blue, alpha});
    }
    return Image::fromPixels(pixel_width, pixel_height, scale, std::move(pixels));
}

double channel(uint64_t mean) {
    return static_cast<double>(static_cast<float>(mean) / 255.0f);
}

Colour opaque(uint64_t red, uint64_t green, uint64_t blue) {
    return {channel(red), channel(green), channel(blue), 1.0};
}

// The device's procedure spelled out naively: a zero-filled buffer with the context's stride, a
// bitmap origin at the bottom left with memory starting at the top row, each bitmap pixel the
// area-weighted mean of the premultiplied image pixels it overlaps (measured in points), then the
// blind walk over the first trunc(W * H) four-byte groups.
Colour referenceDominantColour(const Image& image) {
    const double W = image.width, H = image.height;
    const auto bytes = static_cast<size_t>(W * H * 4);
    const auto width = static_cast<size_t>(W);
    const auto height = static_cast<size_t>(H);
    const auto stride = static_cast<size_t>(W * 4);
    const auto count = static_cast<size_t>(W * H);
    std::vector<uint8_t> buffer(bytes, 0);

    const double pixel_w = W / image.pixel_width, pixel_h = H / image.pixel_height;
    for (size_t row = 0; row < height; ++row) {
        const double y_low = static_cast<double>(height - 1 - row), y_high = y_low + 1;
        for (size_t column = 0; column < width; ++column) {
            const double x_low = static_cast<double>(column), x_high = x_low + 1;
            double sum[4] = {0, 0, 0, 0}, area = 0;
            for (int py = 0; py < image.pixel_height; ++py) {
                // Image row 0 is the top row and sits at y = H.
                double top = H - py * pixel_h, bottom = H - (py + 1) * pixel_h;
                double overlap_y = std::min(y_high, top) - std::max(y_low, bottom);
                if (overlap_y <= 0)
                    continue;
                for (int px = 0; px < image.pixel_width; ++px) {
                    double overlap_x = std::min(x_high, (px + 1) * pixel_w) - std::max(x_low, px * pixel_w);
                    if (overlap_x <= 0)
                        continue;
                    const uint8_t* p = &image.pixels[(static_cast<size_t>(py) * image.pixel_width + px) * 4];
                    double weight = overlap_x * overlap_y;
                    for (int k = 0; k < 3; ++k)
                        sum[k] += weight * ((p[k] * p[3] + 127) / 255);
                    sum[3] += weight * p[3];
                    area += weight;
                }
            }
            for (int k = 0; k < 4; ++k)
                buffer[row * stride + column * 4 + k] = static_cast<uint8_t>(std::floor(sum[k] / area + 0.5));
        }
    }
    uint64_t red = 0, green = 0, blue = 0;
    for (size_t i = 0; i < count; ++i) {
        red += buffer[i * 4];
        green += buffer[i * 4 + 1];
        blue += buffer[i * 4 + 2];
    }
    return opaque(red / count, green / count, blue / count);
}

const Colour black{0, 0, 0, 1};

TEST(DominantColour, OpaqueSolidIconGivesItsOwnColour) {
    const Rgba colours[] = {
        {0, 0, 0, 255},       {255, 255, 255, 255}, {255, 0, 0, 255},   {12, 200, 99, 255},
        {127, 128, 129, 255}, {1, 254, 3, 255},     {0, 122, 255, 255},
    };
    for (const auto& c : colours) {
        SCOPED_TRACE(testing::Message() << int(c.red) << "," << int(c.green) << "," << int(c.blue));
        Image icon = solidImage(29, 29, 1, c);
        EXPECT_EQ(getDominantColor(&icon), opaque(c.red, c.green, c.blue));
    }
}

TEST(DominantColour, SolidIconGivesTheSameColourAtEveryScale) {
    const Rgba colours[] = {
        {12, 200, 99, 255}, {200, 100, 50, 128}, {255, 255, 255, 1}, {255, 255, 255, 255}};
    for (const auto& c : colours) {
        Image one = solidImage(29, 29, 1, c);
        Colour expected = getDominantColor(&one);
        Image large = solidImage(70, 70, 1, c);
        EXPECT_EQ(getDominantColor(&large), expected);
        for (int scale : {2, 3, 16, 17}) {
            Image scaled = solidImage(29 * scale, 29 * scale, scale, c);
            EXPECT_EQ(getDominantColor(&scaled), expected) << scale;
        }
    }
}

TEST(DominantColour, FullChannelGivesExactlyOne) {
    Image icon = solidImage(29, 29, 1, {255, 0, 255, 255});
    EXPECT_EQ(getDominantColor(&icon), (Colour{1.0, 0.0, 1.0, 1.0}));
}

TEST(DominantColour, TransparencyDarkensThroughPremultiplication) {
    Image clear = solidImage(29, 29, 1, {255, 255, 255, 0});
    EXPECT_EQ(getDominantColor(&clear), black);

    // (c * 128 + 127) / 255 for 200, 3, 50: the 3 shows the rounding.
    Image half = solidImage(29, 29, 1, {200, 3, 50, 128});
    EXPECT_EQ(getDominantColor(&half), opaque(100, 2, 25));

    // Mean 127.5 is truncated.
    Image pair = imageFromRows(2, 1, {{255, 255, 255, 255}, {255, 255, 255, 0}});
    Colour expected{127.0f / 255.0f, 127.0f / 255.0f, 127.0f / 255.0f, 1.0};
    EXPECT_EQ(getDominantColor(&pair), expected);
}

TEST(DominantColour, MeanIsTruncatedPerChannel) {
    Image row = imageFromRows(3, 1, {{255, 10, 0, 255}, {0, 10, 0, 255}, {1, 11, 2, 255}});
    EXPECT_EQ(getDominantColor(&row), opaque(85, 10, 0)); // 256/3, 31/3, 2/3
}

TEST(DominantColour, BlockAverageRoundsToNearest) {
    // One point from a 2x2 block: red sums 6 (1.5 rounds up), green 5 (1.25), blue 7 (1.75).
    Image block = imageFromRows(2, 2, {{0, 2, 1, 255}, {2, 1, 2, 255}, {2, 1, 2, 255}, {2, 1, 2, 255}});
    EXPECT_EQ(getDominantColor(&block), opaque(2, 1, 2));

    // A 3x3 block averages the premultiplied values: 255 * 4 / 9 = 113.3.
    std::vector<Rgba> pixels(9, {255, 255, 255, 0});
    for (int i : {0, 2, 4, 8})
        pixels[i] = {255, 0, 255, 255};
    Image nine = imageFromRows(3, 3, pixels);
    EXPECT_EQ(getDominantColor(&nine), opaque(113, 0, 113));
}

TEST(DominantColour, FractionalWidthWalksPaddingAndAlphaBytes) {
    // 1.5 x 2 points of opaque red: 1 x 2 pixels, rows 6 bytes apart, 3 groups walked. The second
    // group is two padding bytes and the next row's red; the third is blue, alpha, padding.
    Image icon = solidImage(3, 4, 2, {255, 0, 0, 255});
    EXPECT_EQ(getDominantColor(&icon), opaque(85, 85, 85));
}

TEST(DominantColour, FractionalHeightLosesTheTopOfTheImage) {
    // 1 x 1.5 points: the single bitmap row shows the lower point of the image, all blue.
    Image icon = imageFromRows(2, 2,
                               {{255, 0, 0, 255},
                                {255, 0, 0, 255},
                                {0, 0, 255, 255},
                                {0, 0, 255, 255},
                                {0, 0, 255, 255},
                                {0, 0, 255, 255}});
    EXPECT_EQ(getDominantColor(&icon), opaque(0, 0, 255));
}

struct ResampleCase {
    const char* name;
    int pixel_width, pixel_height;
    double point_width, point_height;
};

TEST(DominantColour, MatchesTheReferenceDrawingAtAnySize) {
    const ResampleCase cases[] = {
        {"1x whole", 29, 29, 29, 29},
        {"1x large, several lane batches", 61, 61, 61, 61},
        {"2x whole", 58, 58, 29, 29},
        {"3x whole", 87, 87, 29, 29},
        {"2x oblong", 40, 18, 20, 9},
        {"2x wide, several column tiles", 600, 4, 300, 2},
        {"3x wide, several column tiles", 801, 3, 267, 1},
        {"uneven blocks 2 by 3", 20, 30, 10, 10},
        {"16x blocks, fullest lanes", 32, 48, 2, 3},
        {"17x blocks", 34, 34, 2, 2},
        {"fractional width", 7, 6, 3.5, 3},
        {"fractional height", 6, 7, 3, 3.5},
        {"fractional both", 9, 7, 4.5, 3.5},
        {"third points", 10, 10, 10.0 / 3, 10.0 / 3},
        {"small fractional", 5, 3, 2.5, 1.5},
        {"non-integer ratio", 40, 40, 40 / 1.5, 40 / 1.5},
        {"odd ratio whole points", 45, 30, 30, 20},
        {"upscaled whole", 10, 4, 20, 8},
        {"upscaled fractional", 3, 3, 7.5, 7.5},
    };
    for (const auto& c : cases) {
        for (uint32_t seed : {1u, 77u, 4242u}) {
            SCOPED_TRACE(testing::Message() << c.name << " seed " << seed);
            Image icon = patternImage(c.pixel_width, c.pixel_height, c.pixel_width / c.point_width, seed);
            icon.width = c.point_width;
            icon.height = c.point_height;
            EXPECT_EQ(getDominantColor(&icon), referenceDominantColour(icon));
        }
    }
}

TEST(DominantColour, EveryFailureGivesOpaqueBlack) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Rgba white{255, 255, 255, 255};

    EXPECT_EQ(getDominantColor(nullptr), black);
    Image empty;
    EXPECT_EQ(getDominantColor(&empty), black);

    struct Case {
        const char* name;
        Image image;
    };
    std::vector<Case> cases;
    cases.push_back({"grey model", solidImage(29, 29, 1, white, ColourModel::Grey)});
    cases.push_back({"indexed model", solidImage(29, 29, 1, white, ColourModel::Indexed)});
    cases.push_back({"zero width", solidImage(29, 29, 1, white)});
    cases.back().image.width = 0;
    cases.push_back({"width under one point", solidImage(1, 40, 2, white)});
    cases.push_back({"height under one point", solidImage(40, 1, 2, white)});
    cases.push_back({"negative size", solidImage(29, 29, 1, white)});
    cases.back().image.width = -29;
    cases.push_back({"size not a number", solidImage(29, 29, 1, white)});
    cases.back().image.height = nan;
    cases.push_back({"buffer beyond any memory", solidImage(1, 1, 1, white)});
    cases.back().image.width = cases.back().image.height = 1e9;
    cases.push_back({"pixels missing", solidImage(29, 29, 1, white)});
    cases.back().image.pixels.resize(29 * 4);
    cases.push_back({"no pixel size", solidImage(29, 29, 1, white)});
    cases.back().image.pixel_width = 0;

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(getDominantColor(&c.image), black);
    }
}

} // namespace
