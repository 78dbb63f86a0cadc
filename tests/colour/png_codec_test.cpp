#include "platform/uikit/png_codec.h"

#include "colour/dominant_colour.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

using namespace platform::uikit;
using zimtone::colour::ColourModel;
using zimtone::colour::Image;

namespace fs = std::filesystem;

namespace {

// Writes layouts the codec's own encoders never produce (16-bit and 1-bit samples, an RGB colour
// key), straight through libpng.
bool writeRawPng(const std::string& path, int width, int height, int colour_type, int bit_depth,
                 const std::vector<uint8_t>& samples, const png_color_16* colour_key = nullptr) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    volatile bool ok = false;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, bit_depth, colour_type, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (colour_key)
            png_set_tRNS(png, info, nullptr, 0, colour_key);
        png_write_info(png, info);
        const size_t row_bytes = samples.size() / height;
        for (int y = 0; y < height; ++y)
            png_write_row(png, samples.data() + y * row_bytes);
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return ok;
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class PngCodec : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_directory = fs::temp_directory_path() /
                      ("zimtone-png-" + std::string(info->name()) + "-" + std::to_string(getpid()));
        fs::create_directories(m_directory);
    }
    void TearDown() override { fs::remove_all(m_directory); }

    std::string path(const char* name) const { return (m_directory / name).string(); }
    std::string directory() const { return m_directory.string(); }

  private:
    fs::path m_directory;
};

TEST_F(PngCodec, RoundTripsStraightRgba) {
    // Fully transparent pixels keep their colour: nothing is premultiplied on the way.
    const std::vector<uint8_t> rgba = {
        255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40, 255, 255, 255, 255, 1, 2, 3, 4,
    };
    ASSERT_TRUE(encodePngRGBA(path("rgba.png"), 3, 2, rgba.data()));
    auto image = decodePng(path("rgba.png"), 1);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->pixel_width, 3);
    EXPECT_EQ(image->pixel_height, 2);
    EXPECT_EQ(image->width, 3.0);
    EXPECT_EQ(image->height, 2.0);
    EXPECT_EQ(image->scale, 1.0);
    EXPECT_EQ(image->model, ColourModel::RGB);
    EXPECT_TRUE(image->has_alpha);
    EXPECT_EQ(image->pixels, rgba);
}

TEST_F(PngCodec, PointSizeIsPixelSizeOverScale) {
    std::vector<uint8_t> rgba(58 * 58 * 4, 200);
    ASSERT_TRUE(encodePngRGBA(path("icon@2x.png"), 58, 58, rgba.data()));
    const struct { double scale, points; } cases[] = {{1, 58}, {2, 29}, {3, 58.0 / 3}};
    for (const auto& c : cases) {
        auto image = decodePng(path("icon@2x.png"), c.scale);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, c.points);
        EXPECT_EQ(image->height, c.points);
        EXPECT_EQ(image->scale, c.scale);
        EXPECT_EQ(image->pixel_width, 58);
    }
}

TEST_F(PngCodec, GreyIsExpandedButKeepsItsModel) {
    const std::vector<uint8_t> grey = {0, 100, 200, 255};
    ASSERT_TRUE(encodePngGrey(path("grey.png"), 2, 2, grey.data()));
    auto image = decodePng(path("grey.png"), 1);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->model, ColourModel::Grey);
    EXPECT_FALSE(image->has_alpha);
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{0, 0, 0, 255, 100, 100, 100, 255, 200, 200, 200, 255, 255,
                                                   255, 255, 255}));
    // The colour engine refuses a grey bitmap, however bright.
    EXPECT_EQ(zimtone::colour::getDominantColor(&*image), zimtone::colour::Colour::opaqueBlack());
}

TEST_F(PngCodec, TransparencyChunkBecomesAlpha) {
    const std::vector<uint8_t> grey = {0, 100, 200, 100};
    ASSERT_TRUE(encodePngGrey(path("keyed.png"), 4, 1, grey.data(), 100));
    auto keyed = decodePng(path("keyed.png"), 1);
    ASSERT_TRUE(keyed.has_value());
    EXPECT_TRUE(keyed->has_alpha);
    EXPECT_EQ(keyed->pixels,
              (std::vector<uint8_t>{0, 0, 0, 255, 100, 100, 100, 0, 200, 200, 200, 255, 100, 100, 100, 0}));

    png_color_16 key{};
    key.red = 10;
    key.green = 20;
    key.blue = 30;
    ASSERT_TRUE(
        writeRawPng(path("rgb-keyed.png"), 2, 1, PNG_COLOR_TYPE_RGB, 8, {10, 20, 30, 10, 20, 31}, &key));
    auto rgb = decodePng(path("rgb-keyed.png"), 1);
    ASSERT_TRUE(rgb.has_value());
    EXPECT_EQ(rgb->model, ColourModel::RGB);
    EXPECT_TRUE(rgb->has_alpha);
    EXPECT_EQ(rgb->pixels, (std::vector<uint8_t>{10, 20, 30, 0, 10, 20, 31, 255}));
}

TEST_F(PngCodec, PaletteIsExpandedButKeepsItsModel) {
    const std::vector<PaletteEntry> palette = {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 255}};
    const std::vector<uint8_t> indices = {2, 1, 0, 2};
    ASSERT_TRUE(encodePngPalette(path("palette.png"), 2, 2, indices.data(), palette));
    auto image = decodePng(path("palette.png"), 1);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->model, ColourModel::Indexed);
    EXPECT_TRUE(image->has_alpha);
    EXPECT_EQ(image->pixels,
              (std::vector<uint8_t>{0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 255, 0, 0, 255, 255}));
    EXPECT_EQ(zimtone::colour::getDominantColor(&*image), zimtone::colour::Colour::opaqueBlack());

    const std::vector<PaletteEntry> opaque = {{1, 2, 3, 255}, {4, 5, 6, 255}};
    ASSERT_TRUE(encodePngPalette(path("opaque.png"), 2, 1, indices.data() + 1, opaque));
    auto plain = decodePng(path("opaque.png"), 1);
    ASSERT_TRUE(plain.has_value());
    EXPECT_FALSE(plain->has_alpha);
    EXPECT_EQ(plain->pixels, (std::vector<uint8_t>{4, 5, 6, 255, 1, 2, 3, 255}));
}

TEST_F(PngCodec, OtherSampleDepthsBecomeEightBit) {
    // 16-bit samples keep their high byte.
    ASSERT_TRUE(writeRawPng(path("deep.png"), 1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16,
                            {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00, 0x80, 0xFF}));
    auto deep = decodePng(path("deep.png"), 1);
    ASSERT_TRUE(deep.has_value());
    EXPECT_EQ(deep->pixels, (std::vector<uint8_t>{0x12, 0xAB, 0xFF, 0x80}));

    // 1-bit grey spreads to 0 and 255.
    ASSERT_TRUE(writeRawPng(path("bits.png"), 3, 1, PNG_COLOR_TYPE_GRAY, 1, {0b10100000}));
    auto bits = decodePng(path("bits.png"), 1);
    ASSERT_TRUE(bits.has_value());
    EXPECT_EQ(bits->model, ColourModel::Grey);
    EXPECT_EQ(bits->pixels, (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}));
}

TEST_F(PngCodec, UnreadableFilesGiveNothing) {
    std::vector<uint8_t> rgba(16 * 16 * 4);
    for (size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(encodePngRGBA(path("good.png"), 16, 16, rgba.data()));
    const auto good = readBytes(path("good.png"));
    ASSERT_GT(good.size(), 60u);

    const std::vector<uint8_t> signature(good.begin(), good.begin() + 8);
    std::vector<uint8_t> corrupted = good;
    corrupted[good.size() / 2] ^= 0xFF;

    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"garbage", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', '\n', 0, 1, 2, 3}},
        {"signature only", signature},
        {"signature then garbage",
         [&] {
             auto bytes = signature;
             bytes.insert(bytes.end(), 64, 0x5A);
             return bytes;
         }()},
        {"cut inside the header", {good.begin(), good.begin() + 20}},
        {"cut inside the pixels", {good.begin(), good.begin() + good.size() / 2}},
        {"cut before the end chunk", {good.begin(), good.end() - 12}},
        {"corrupted pixels", corrupted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path("bad.png"), c.bytes);
        EXPECT_FALSE(decodePng(path("bad.png"), 1).has_value());
    }
    EXPECT_FALSE(decodePng(path("missing.png"), 1).has_value());
    EXPECT_FALSE(decodePng(directory(), 1).has_value());
    EXPECT_TRUE(decodePng(path("good.png"), 1).has_value());
}

TEST_F(PngCodec, RefusesImagesOverTheSideLimit) {
    const std::vector<uint8_t> row(4097 * 4, 255);
    ASSERT_TRUE(encodePngRGBA(path("wide.png"), 4097, 1, row.data()));
    EXPECT_FALSE(decodePng(path("wide.png"), 1).has_value());
    ASSERT_TRUE(encodePngRGBA(path("widest.png"), 4096, 1, row.data()));
    EXPECT_TRUE(decodePng(path("widest.png"), 1).has_value());
}

TEST_F(PngCodec, ScaleMustBePositive) {
    std::vector<uint8_t> rgba(4 * 4, 255);
    ASSERT_TRUE(encodePngRGBA(path("small.png"), 2, 2, rgba.data()));
    for (double scale :
         {0.0, -2.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(decodePng(path("small.png"), scale).has_value()) << scale;
}

TEST_F(PngCodec, EncodersRefuseWhatTheyCannotWrite) {
    const std::vector<uint8_t> rgba(4 * 4, 255);
    const std::vector<uint8_t> indices = {0, 1, 2, 3};
    const std::vector<PaletteEntry> two = {{0, 0, 0, 255}, {255, 255, 255, 255}};

    EXPECT_FALSE(encodePngRGBA(path("no-such-dir/x.png"), 2, 2, rgba.data()));
    EXPECT_FALSE(encodePngRGBA(path("zero.png"), 0, 2, rgba.data()));
    EXPECT_FALSE(encodePngRGBA(path("negative.png"), 2, -1, rgba.data()));
    EXPECT_FALSE(encodePngRGBA(path("null.png"), 2, 2, nullptr));
    EXPECT_FALSE(encodePngGrey(path("grey-null.png"), 2, 2, nullptr));
    EXPECT_FALSE(encodePngPalette(path("out-of-range.png"), 2, 2, indices.data(), two));
    EXPECT_FALSE(encodePngPalette(path("empty-palette.png"), 2, 2, indices.data(), {}));
    EXPECT_FALSE(
        encodePngPalette(path("huge-palette.png"), 2, 2, indices.data(), std::vector<PaletteEntry>(257)));
    for (const char* name : {"zero.png", "negative.png", "null.png", "grey-null.png", "out-of-range.png",
                             "empty-palette.png", "huge-palette.png"})
        EXPECT_FALSE(fs::exists(path(name))) << name;
}

} // namespace
