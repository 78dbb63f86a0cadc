#include "platform/render/BoxBlur.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace platform::render {

namespace {

// Channels are unpacked to 16 bits so that a pass is plain sums over whole rows, which the
// compiler vectorises; each pass divides by the window with a 16-bit reciprocal, which is exact
// for a flat line because window * 255 stays below 2^16.
constexpr int kShift = 16;

struct Window {
    int radius;
    uint32_t reciprocal;

    explicit Window(int r) : radius(r), reciprocal(((1u << kShift) + r) / (2 * r + 1)) {}
    uint16_t mean(uint32_t sum) const {
        return static_cast<uint16_t>((sum * reciprocal + (1u << (kShift - 1))) >> kShift);
    }
};

// One box pass along each row of width pixels of 4 channels, from src into dst.
void pass_along_rows(const uint16_t* src, uint16_t* dst, int width, int height, const Window& window) {
    const int r = window.radius;
    for (int y = 0; y < height; ++y) {
        const uint16_t* in = src + static_cast<size_t>(y) * width * 4;
        uint16_t* out = dst + static_cast<size_t>(y) * width * 4;
        uint32_t sum[4] = {0, 0, 0, 0};
        for (int i = -r; i <= r; ++i)
            for (int c = 0; c < 4; ++c)
                sum[c] += in[std::clamp(i, 0, width - 1) * 4 + c];
        for (int x = 0; x < width; ++x) {
            const int entering = std::min(x + r + 1, width - 1) * 4, leaving = std::max(x - r, 0) * 4;
            for (int c = 0; c < 4; ++c) {
                out[x * 4 + c] = window.mean(sum[c]);
                sum[c] += in[entering + c];
                sum[c] -= in[leaving + c];
            }
        }
    }
}

// One box pass down the columns, a whole row of running sums at a time.
void pass_down_columns(const uint16_t* src, uint16_t* dst, int width, int height, const Window& window,
                       std::vector<uint32_t>& sums) {
    const int r = window.radius;
    const size_t row = static_cast<size_t>(width) * 4;
    std::fill(sums.begin(), sums.end(), 0u);
    for (int i = -r; i <= r; ++i) {
        const uint16_t* in = src + std::clamp(i, 0, height - 1) * row;
        for (size_t k = 0; k < row; ++k)
            sums[k] += in[k];
    }
    for (int y = 0; y < height; ++y) {
        uint16_t* out = dst + y * row;
        const uint16_t* entering = src + std::min(y + r + 1, height - 1) * row;
        const uint16_t* leaving = src + std::max(y - r, 0) * row;
        for (size_t k = 0; k < row; ++k) {
            out[k] = window.mean(sums[k]);
            sums[k] += entering[k];
            sums[k] -= leaving[k];
        }
    }
}

} // namespace

void box_blur(uint32_t* pixels, int width, int height, int stride_pixels, int radius) {
    if (!pixels || width <= 0 || height <= 0 || radius < 1 || stride_pixels < width)
        return;
    // Three passes of a third of the radius come close to a Gaussian of that reach. The pass
    // radius is capped where window * 255 would leave 16 bits.
    const Window window(std::clamp(radius / 3, 1, 127));
    const size_t count = static_cast<size_t>(width) * height * 4;
    std::vector<uint16_t> a(count), b(count);
    for (int y = 0; y < height; ++y) {
        const uint32_t* in = pixels + static_cast<std::ptrdiff_t>(y) * stride_pixels;
        uint16_t* out = a.data() + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c)
                out[x * 4 + c] = (in[x] >> (8 * c)) & 0xFF;
    }
    for (int pass = 0; pass < 3; ++pass) {
        pass_along_rows(a.data(), b.data(), width, height, window);
        std::swap(a, b);
    }
    std::vector<uint32_t> sums(static_cast<size_t>(width) * 4);
    for (int pass = 0; pass < 3; ++pass) {
        pass_down_columns(a.data(), b.data(), width, height, window, sums);
        std::swap(a, b);
    }
    for (int y = 0; y < height; ++y) {
        uint32_t* out = pixels + static_cast<std::ptrdiff_t>(y) * stride_pixels;
        const uint16_t* in = a.data() + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x)
            out[x] = static_cast<uint32_t>(in[x * 4]) | static_cast<uint32_t>(in[x * 4 + 1]) << 8 |
                     static_cast<uint32_t>(in[x * 4 + 2]) << 16 | static_cast<uint32_t>(in[x * 4 + 3]) << 24;
    }
}

} // namespace platform::render
