// The colour engine on the inputs the hooks give it: 29-point icons at every scale, app colours,
// hex strings; both the pure functions and their object bridge.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "colour/adjustments.h"
#include "colour/bridge/ColourServices.h"
#include "colour/bridge/HexColors.h"
#include "colour/dominant_colour.h"
#include "colour/hex_codec.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIImage.h"

using namespace zimtone::colour;

namespace {

constexpr int kIconPoints = 29;

// A 29-point icon with a diagonal gradient; with transparency its corners are cut round, with a
// one-pixel soft edge, the way app icons are masked.
Image icon(int scale, bool transparent) {
    const int side = kIconPoints * scale;
    const double radius = side * 0.225;
    std::vector<uint8_t> rgba(static_cast<size_t>(side) * side * 4);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint8_t* p = &rgba[(static_cast<size_t>(y) * side + x) * 4];
            p[0] = static_cast<uint8_t>(40 + (x * 180) / side);
            p[1] = static_cast<uint8_t>(200 - (y * 150) / side);
            p[2] = static_cast<uint8_t>((x + y) * 255 / (2 * side));
            double alpha = 255;
            if (transparent) {
                double cx = std::clamp(x + 0.5, radius, side - radius);
                double cy = std::clamp(y + 0.5, radius, side - radius);
                double outside = std::hypot(x + 0.5 - cx, y + 0.5 - cy) - radius;
                alpha = 255 * std::clamp(0.5 - outside, 0.0, 1.0);
            }
            p[3] = static_cast<uint8_t>(alpha);
        }
    return Image::fromPixels(side, side, scale, std::move(rgba), ColourModel::RGB, transparent);
}

void BM_DominantColour(benchmark::State& state) {
    const Image image = icon(static_cast<int>(state.range(0)), state.range(1) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(getDominantColor(&image));
    state.SetLabel(std::to_string(image.pixel_width) + "px" + (image.has_alpha ? " transparent" : " opaque"));
}
BENCHMARK(BM_DominantColour)->ArgsProduct({{1, 2, 3}, {0, 1}})->ArgNames({"scale", "alpha"});

// What a hook pays: the image object in, a new colour object out.
void BM_DominantColourOfImageObject(benchmark::State& state) {
    auto image = platform::uikit::UIImage::withImage(icon(static_cast<int>(state.range(0)), true));
    for (auto _ : state)
        benchmark::DoNotOptimize(bridge::getDominantColor(image.get()));
}
BENCHMARK(BM_DominantColourOfImageObject)->Arg(1)->Arg(2)->Arg(3)->ArgName("scale");

void BM_ModifySaturation(benchmark::State& state) {
    Colour colour{0.8, 0.4, 0.2, 1.0};
    double saturation = 0.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(colour);
        benchmark::DoNotOptimize(saturation);
        benchmark::DoNotOptimize(modifySaturationWith(colour, saturation));
    }
}
BENCHMARK(BM_ModifySaturation);

void BM_ReverseColour(benchmark::State& state) {
    Colour colour{0.8, 0.4, 0.2, 1.0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(colour);
        benchmark::DoNotOptimize(reverseColor(colour));
    }
}
BENCHMARK(BM_ReverseColour);

void BM_HexDecode(benchmark::State& state) {
    std::string_view hex = "3fa9C2";
    for (auto _ : state) {
        benchmark::DoNotOptimize(hex);
        benchmark::DoNotOptimize(colorWithHexString(hex));
    }
}
BENCHMARK(BM_HexDecode);

// The per-app colour as the hooks decode it: a string object in, a colour object out.
void BM_HexDecodeOfStringObject(benchmark::State& state) {
    auto hex = platform::foundation::ns("3fa9C2");
    for (auto _ : state)
        benchmark::DoNotOptimize(bridge::colorWithHexString(hex.get()));
}
BENCHMARK(BM_HexDecodeOfStringObject);

} // namespace
