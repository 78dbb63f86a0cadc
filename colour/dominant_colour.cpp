// Mean icon colour, computed the way a premultiplied RGBA bitmap context of the image's point size
// would see it: the same buffer size, row stride, orientation and byte walk.
#include "colour/dominant_colour.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace zimtone::colour {

namespace {

struct ChannelSums {
    uint64_t red{0};
    uint64_t green{0};
    uint64_t blue{0};
};

// Rounds to nearest; exact for every colour byte and alpha, and the identity when alpha is 255.
inline uint32_t premultiply(uint32_t component, uint32_t alpha) {
    return (component * alpha + 127) / 255;
}

Colour colourFromSums(const ChannelSums& sums, uint64_t count) {
    // The division by 255 happens in single precision, as the platform's colour constructor did.
    auto channel = [count](uint64_t sum) {
        return static_cast<double>(static_cast<float>(sum / count) / 255.0f);
    };
    return {channel(sums.red), channel(sums.green), channel(sums.blue), 1.0};
}

// Eight pixels at a time in 16-bit lanes. A pixel read as a little-endian word splits into the lane
// pairs (red, blue) and (green, alpha); c * a + 128 fits a lane, and (t + (t >> 8)) >> 8 of it equals
// the premultiply rounding above for every byte pair. GCC and Clang vector types keep this portable;
// on x86-64 the hot loops are also built for AVX2 and picked at load time.
namespace lanes {

constexpr size_t group = 8;
using Words = uint32_t __attribute__((vector_size(group * 4)));
using Halves = uint16_t __attribute__((vector_size(group * 4)));

constexpr bool usable = std::endian::native == std::endian::little;

// Adds one group of premultiplied pixels into the lane sums. Vectors go by reference only: passing
// them by value would tie the helper to one vector ABI, and it is inlined into two instruction sets.
inline void addPremultipliedGroup(const uint8_t* pixels, Halves& red_blue_sum, Halves& green_alpha_sum) {
    Words words;
    std::memcpy(&words, pixels, sizeof words);
    const Words alpha = words >> 24;
    const auto alpha_pair = reinterpret_cast<Halves>(alpha | (alpha << 16));
    const Halves red_blue = reinterpret_cast<Halves>(words & 0x00FF00FF) * alpha_pair + 128;
    const Halves green_alpha = reinterpret_cast<Halves>((words >> 8) & 0x00FF00FF) * alpha_pair + 128;
    red_blue_sum += (red_blue + (red_blue >> 8)) >> 8;
    green_alpha_sum += (green_alpha + (green_alpha >> 8)) >> 8;
}

// A lane takes 255 at most per addition, so 257 additions are the most it can hold.
constexpr size_t max_additions = 257;

} // namespace lanes

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(__SANITIZE_ADDRESS__)
#define ZIMTONE_WIDE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ZIMTONE_WIDE_VECTOR_CLONES
#endif

// Pixel grid equals the point grid: the bitmap holds the premultiplied pixels as they are.
ZIMTONE_WIDE_VECTOR_CLONES
ChannelSums sumUnscaled(const uint8_t* pixels, size_t count) {
    ChannelSums sums;
    size_t i = 0;
    if constexpr (lanes::usable) {
        const size_t vector_end = count - count % lanes::group;
        while (i < vector_end) {
            const size_t batch_end = std::min(vector_end, i + lanes::group * lanes::max_additions);
            lanes::Halves red_blue{}, green_alpha{};
            for (; i < batch_end; i += lanes::group)
                lanes::addPremultipliedGroup(pixels + i * 4, red_blue, green_alpha);
            for (size_t lane = 0; lane < lanes::group * 2; lane += 2) {
                sums.red += red_blue[lane];
                sums.blue += red_blue[lane + 1];
                sums.green += green_alpha[lane];
            }
        }
    }
    for (; i < count; ++i) {
        const uint8_t* p = pixels + i * 4;
        sums.red += premultiply(p[0], p[3]);
        sums.green += premultiply(p[1], p[3]);
        sums.blue += premultiply(p[2], p[3]);
    }
    return sums;
}

// Each point covers an exact block of block_x by block_y pixels (2x and 3x icons): the stored byte
// is the block mean of the premultiplied pixels, rounded to nearest. The pixel rows of one row of
// blocks are summed column by column first, a tile of columns at a time, then each run of block_x
// columns is collapsed into one bitmap pixel.
constexpr uint32_t max_block_area = lanes::max_additions - 1;

// Division by a block area without a divide instruction per channel: with the multiplier
// ceil(2^32 / area) the quotient is exact for every dividend a block sum can reach.
class AreaDivisor {
  public:
    explicit AreaDivisor(uint32_t area)
        : m_multiplier(((uint64_t{1} << 32) + area - 1) / area), m_half(area / 2) {}
    uint32_t roundedQuotient(uint32_t sum) const {
        return static_cast<uint32_t>(((sum + m_half) * m_multiplier) >> 32);
    }

  private:
    uint64_t m_multiplier;
    uint64_t m_half;
};

// FixedX and FixedY, when not 0, are the block size known at compile time (the common 2x and 3x),
// which lets the collapse of each block unroll.
template <uint32_t FixedX, uint32_t FixedY>
[[gnu::always_inline]] inline ChannelSums sumBlocksOf(const Image& image, size_t width, size_t height,
                                                      uint32_t runtime_x, uint32_t runtime_y) {
    constexpr size_t tile = 256;
    const uint32_t block_x = FixedX ? FixedX : runtime_x;
    const uint32_t block_y = FixedY ? FixedY : runtime_y;
    const AreaDivisor area(block_x * block_y);
    auto roundedMean = [&](uint32_t sum) {
        if constexpr (FixedX && FixedY)
            return (sum + FixedX * FixedY / 2) / (FixedX * FixedY);
        else
            return area.roundedQuotient(sum);
    };
    const size_t stride = static_cast<size_t>(image.pixel_width) * 4;
    const uint8_t* const pixels_end = image.pixels.data() + image.pixels.size();
    const size_t blocks_per_tile = tile / block_x;
    // Per pixel column: 16-bit lane pairs (red, blue) and (green, alpha), as the lanes produce them,
    // with room for a last group that runs past the tile.
    uint32_t red_blue[tile + lanes::group];
    uint32_t green_alpha[tile + lanes::group];

    ChannelSums sums;
    for (size_t row = 0; row < height; ++row) {
        const uint8_t* band = image.pixels.data() + row * block_y * stride;
        for (size_t first = 0; first < width; first += blocks_per_tile) {
            const size_t blocks = std::min(blocks_per_tile, width - first);
            const size_t columns = blocks * block_x;
            const uint8_t* band_tile = band + first * block_x * 4;
            if constexpr (lanes::usable) {
                // A group may run past its row into the next one: those lanes land in columns that
                // are never collapsed. Only a group that would read past the last pixel (in the last
                // row of blocks) is read from a copy, padded with transparent pixels.
                const size_t grouped_columns = (columns + lanes::group - 1) / lanes::group * lanes::group;
                const bool may_overrun =
                    band_tile + (block_y - 1) * stride + grouped_columns * 4 > pixels_end;
                for (size_t x = 0; x < columns; x += lanes::group) {
                    lanes::Halves column_red_blue{}, column_green_alpha{};
#pragma GCC unroll 4
                    for (uint32_t dy = 0; dy < block_y; ++dy) {
                        const uint8_t* pixels = band_tile + dy * stride + x * 4;
                        uint8_t padded[lanes::group * 4];
                        if (may_overrun && pixels_end - pixels < static_cast<ptrdiff_t>(sizeof padded)) {
                            std::memset(padded, 0, sizeof padded);
                            std::memcpy(padded, pixels, static_cast<size_t>(pixels_end - pixels));
                            pixels = padded;
                        }
                        lanes::addPremultipliedGroup(pixels, column_red_blue, column_green_alpha);
                    }
                    std::memcpy(red_blue + x, &column_red_blue, sizeof column_red_blue);
                    std::memcpy(green_alpha + x, &column_green_alpha, sizeof column_green_alpha);
                }
            } else {
                std::fill_n(red_blue, columns, 0u);
                std::fill_n(green_alpha, columns, 0u);
                for (uint32_t dy = 0; dy < block_y; ++dy) {
                    for (size_t x = 0; x < columns; ++x) {
                        const uint8_t* p = band_tile + dy * stride + x * 4;
                        red_blue[x] += premultiply(p[0], p[3]) | premultiply(p[2], p[3]) << 16;
                        green_alpha[x] += premultiply(p[1], p[3]);
                    }
                }
            }
            for (size_t block = 0; block < blocks; ++block) {
                // Lanes stay below 65536: at most max_block_area additions of 255 each.
                uint32_t block_red_blue = 0, block_green = 0;
#pragma GCC unroll 4
                for (uint32_t dx = 0; dx < block_x; ++dx) {
                    block_red_blue += red_blue[block * block_x + dx];
                    block_green += green_alpha[block * block_x + dx];
                }
                sums.red += roundedMean(block_red_blue & 0xFFFF);
                sums.blue += roundedMean(block_red_blue >> 16);
                sums.green += roundedMean(block_green & 0xFFFF);
            }
        }
    }
    return sums;
}

ZIMTONE_WIDE_VECTOR_CLONES
ChannelSums sumBlocks(const Image& image, size_t width, size_t height, uint32_t block_x, uint32_t block_y) {
    if (block_x == 2 && block_y == 2)
        return sumBlocksOf<2, 2>(image, width, height, 2, 2);
    if (block_x == 3 && block_y == 3)
        return sumBlocksOf<3, 3>(image, width, height, 3, 3);
    return sumBlocksOf<0, 0>(image, width, height, block_x, block_y);
}

// Area-coverage box filter for any ratio of pixels to points. Writes the bitmap rows into the
// context buffer at the given row stride. The image is drawn into (0, 0, W, H) of a context whose
// origin is bottom-left and whose first row in memory is its top row, so a fractional part of H
// falls off the top of the context and a fractional part of W off its right edge.
void drawResampled(const Image& image, double point_width, double point_height, size_t width, size_t height,
                   size_t bytes_per_row, uint8_t* buffer) {
    const double pixels_per_point_x = image.pixel_width / point_width;
    const double pixels_per_point_y = image.pixel_height / point_height;
    const double clipped_top = point_height - static_cast<double>(height);
    const double pixel_right = image.pixel_width;
    const double pixel_bottom = image.pixel_height;
    const size_t stride = static_cast<size_t>(image.pixel_width) * 4;

    for (size_t row = 0; row < height; ++row) {
        double top = std::clamp((clipped_top + row) * pixels_per_point_y, 0.0, pixel_bottom);
        double bottom = std::clamp((clipped_top + row + 1) * pixels_per_point_y, 0.0, pixel_bottom);
        for (size_t column = 0; column < width; ++column) {
            double left = std::clamp(column * pixels_per_point_x, 0.0, pixel_right);
            double right = std::clamp((column + 1) * pixels_per_point_x, 0.0, pixel_right);
            double accumulated[4] = {0, 0, 0, 0};
            double total_weight = 0;
            for (auto y = static_cast<size_t>(top); static_cast<double>(y) < bottom; ++y) {
                double weight_y = std::min(bottom, y + 1.0) - std::max(top, static_cast<double>(y));
                if (weight_y <= 0)
                    continue;
                const uint8_t* source_row = image.pixels.data() + y * stride;
                for (auto x = static_cast<size_t>(left); static_cast<double>(x) < right; ++x) {
                    double weight_x = std::min(right, x + 1.0) - std::max(left, static_cast<double>(x));
                    if (weight_x <= 0)
                        continue;
                    double weight = weight_x * weight_y;
                    const uint8_t* p = source_row + x * 4;
                    uint32_t alpha = p[3];
                    accumulated[0] += weight * premultiply(p[0], alpha);
                    accumulated[1] += weight * premultiply(p[1], alpha);
                    accumulated[2] += weight * premultiply(p[2], alpha);
                    accumulated[3] += weight * alpha;
                    total_weight += weight;
                }
            }
            uint8_t* out = buffer + row * bytes_per_row + column * 4;
            for (int channel = 0; channel < 4; ++channel) {
                double mean = total_weight > 0 ? accumulated[channel] / total_weight : 0.0;
                out[channel] = static_cast<uint8_t>(std::clamp(std::floor(mean + 0.5), 0.0, 255.0));
            }
        }
    }
}

struct FreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
};

} // namespace

Colour getDominantColor(const Image* image) {
    const Colour black = Colour::opaqueBlack();
    if (!image)
        return black;

    const double point_width = image->width;
    const double point_height = image->height;
    // Also rejects NaN and negative sizes; a side under one point truncates to an empty context.
    if (!(point_width >= 1.0) || !(point_height >= 1.0))
        return black;
    // Only an RGB bitmap can be drawn into an RGB context with premultiplied alpha.
    if (image->model != ColourModel::RGB || !image->hasConsistentPixels())
        return black;

    // Evaluated in this order, like the platform code it mirrors, so the truncations agree.
    const double byte_count = point_width * point_height * 4;
    if (!(byte_count < 9.0e15)) // beyond any allocation: the buffer cannot be had
        return black;
    const auto buffer_size = static_cast<size_t>(byte_count);
    const auto width = static_cast<size_t>(point_width);
    const auto height = static_cast<size_t>(point_height);
    const auto bytes_per_row = static_cast<size_t>(point_width * 4);
    const auto count = static_cast<size_t>(point_width * point_height);

    const auto pixel_width = static_cast<size_t>(image->pixel_width);
    const auto pixel_height = static_cast<size_t>(image->pixel_height);
    const bool whole_points = width == point_width && height == point_height;

    // With whole point sizes the walk covers exactly the bitmap's pixels row by row, so the sums
    // can be taken while resampling, without the buffer.
    if (whole_points && pixel_width % width == 0 && pixel_height % height == 0) {
        const auto block_x = static_cast<uint32_t>(pixel_width / width);
        const auto block_y = static_cast<uint32_t>(pixel_height / height);
        if (block_x == 1 && block_y == 1)
            return colourFromSums(sumUnscaled(image->pixels.data(), count), count);
        if (static_cast<uint64_t>(block_x) * block_y <= max_block_area)
            return colourFromSums(sumBlocks(*image, width, height, block_x, block_y), count);
    }

    // Rounding in the size products must never let the rows or the walk run past the buffer.
    const size_t allocation = std::max({buffer_size, height * bytes_per_row, count * 4});
    std::unique_ptr<uint8_t, FreeDeleter> buffer(static_cast<uint8_t*>(std::calloc(allocation, 1)));
    if (!buffer)
        return black;
    drawResampled(*image, point_width, point_height, width, height, bytes_per_row, buffer.get());

    // The walk ignores rows: with a row stride that is not a multiple of four, padding and alpha
    // bytes land in the colour sums, exactly as they do on the device.
    ChannelSums sums;
    const uint8_t* p = buffer.get();
    for (size_t i = 0; i < count; ++i, p += 4) {
        sums.red += p[0];
        sums.green += p[1];
        sums.blue += p[2];
    }
    return colourFromSums(sums, count);
}

} // namespace zimtone::colour
