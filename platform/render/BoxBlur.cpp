#include "platform/render/BoxBlur.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace platform::render {

namespace {

// A pixel's four bytes widened to 32-bit lanes, so that one vector operation serves all four.
typedef uint32_t Lanes __attribute__((vector_size(16)));

// Each pass divides by the window with a 16-bit reciprocal, which is exact for a flat line
// because window * 255 stays below 2^16.
constexpr int kShift = 16;

struct Window {
    int radius;
    uint32_t reciprocal;

    explicit Window(int r) : radius(r), reciprocal(((1u << kShift) + r) / (2 * r + 1)) {}
    Lanes mean(Lanes sum) const { return (sum * reciprocal + (1u << (kShift - 1))) >> kShift; }
};

// One box pass along each row, from src into dst.
void pass_along_rows(const Lanes* src, Lanes* dst, int width, int height, const Window& window) {
    const int r = window.radius;
    for (int y = 0; y < height; ++y) {
        const Lanes* in = src + static_cast<size_t>(y) * width;
        Lanes* out = dst + static_cast<size_t>(y) * width;
        Lanes sum = {0, 0, 0, 0};
        for (int i = -r; i <= r; ++i)
            sum += in[std::clamp(i, 0, width - 1)];
        for (int x = 0; x < width; ++x) {
            out[x] = window.mean(sum);
            sum += in[std::min(x + r + 1, width - 1)] - in[std::max(x - r, 0)];
        }
    }
}

// One box pass down the columns, a whole row of running sums at a time.
void pass_down_columns(const Lanes* src, Lanes* dst, int width, int height, const Window& window,
                       std::vector<Lanes>& sums) {
    const int r = window.radius;
    const size_t row = static_cast<size_t>(width);
    std::fill(sums.begin(), sums.end(), Lanes{0, 0, 0, 0});
    for (int i = -r; i <= r; ++i) {
        const Lanes* in = src + std::clamp(i, 0, height - 1) * row;
        for (size_t k = 0; k < row; ++k)
            sums[k] += in[k];
    }
    for (int y = 0; y < height; ++y) {
        Lanes* out = dst + y * row;
        const Lanes* entering = src + std::min(y + r + 1, height - 1) * row;
        const Lanes* leaving = src + std::max(y - r, 0) * row;
        for (size_t k = 0; k < row; ++k) {
            out[k] = window.mean(sums[k]);
            sums[k] += entering[k] - leaving[k];
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
    const size_t count = static_cast<size_t>(width) * height;
    std::vector<Lanes> a(count), b(count);
    for (int y = 0; y < height; ++y) {
        const uint32_t* in = pixels + static_cast<std::ptrdiff_t>(y) * stride_pixels;
        Lanes* out = a.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = Lanes{in[x] & 0xFF, (in[x] >> 8) & 0xFF, (in[x] >> 16) & 0xFF, in[x] >> 24};
    }
    for (int pass = 0; pass < 3; ++pass) {
        pass_along_rows(a.data(), b.data(), width, height, window);
        std::swap(a, b);
    }
    std::vector<Lanes> sums(static_cast<size_t>(width));
    for (int pass = 0; pass < 3; ++pass) {
        pass_down_columns(a.data(), b.data(), width, height, window, sums);
        std::swap(a, b);
    }
    for (int y = 0; y < height; ++y) {
        uint32_t* out = pixels + static_cast<std::ptrdiff_t>(y) * stride_pixels;
        const Lanes* in = a.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = in[x][0] | in[x][1] << 8 | in[x][2] << 16 | in[x][3] << 24;
    }
}

} // namespace platform::render
