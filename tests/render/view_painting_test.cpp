#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/UIImageView.h"
#include "render_support.h"

using namespace platform::uikit;
using namespace render_test;
using platform::foundation::CGPoint;
using platform::foundation::CGRectMake;
using platform::foundation::NSArray;
using platform::foundation::NSNumber;
using platform::runtime::make_object;
using platform::runtime::Ref;

namespace {

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kGreen{0, 255, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};
constexpr Rgba kClear{0, 0, 0, 0};

struct Probe {
    double x, y;
    Rgba expected;
    int tolerance{1};
};

struct PaintCase {
    std::string name;
    std::function<Ref<UIView>()> build;
    std::vector<Probe> probes;
};

Ref<UIView> white_root(double w = 20, double h = 20) {
    return make_view(CGRectMake(0, 0, w, h), rgba(1, 1, 1).get());
}

Ref<CAGradientLayer> gradient(std::vector<Ref<UIColor>> colours, CGPoint start, CGPoint end,
                              std::vector<double> locations = {}) {
    auto layer = make_object<CAGradientLayer>();
    std::vector<Ref<platform::runtime::Object>> items(colours.begin(), colours.end());
    layer->setColors(NSArray::create(items).get());
    layer->setStartPoint(start);
    layer->setEndPoint(end);
    if (!locations.empty()) {
        std::vector<Ref<platform::runtime::Object>> numbers;
        for (double l : locations)
            numbers.push_back(NSNumber::numberWithDouble(l));
        layer->setLocations(NSArray::create(numbers).get());
    }
    return layer;
}

// A 2 x 2 pixel bitmap at scale 1: red, green on top, blue, white below.
Ref<UIImage> four_colour_image() {
    return UIImage::withImage(zimtone::colour::Image::fromPixels(
        2, 2, 1.0, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255}));
}

const std::vector<PaintCase> kCases = {
    {"OpaqueBackgroundTakesItsColour",
     [] { return make_view(CGRectMake(0, 0, 20, 20), rgba(0.2, 0.4, 0.6).get()); },
     {{10, 10, {51, 102, 153, 255}}}},
    {"RootWithoutBackgroundStaysTransparent",
     [] { return make_view(CGRectMake(0, 0, 20, 20)); },
     {{10, 10, kClear}}},
    {"RootOriginIsIgnored",
     [] { return make_view(CGRectMake(100, 100, 20, 20), rgba(0, 0, 1).get()); },
     {{0.5, 0.5, kBlue}, {19.5, 19.5, kBlue}}},
    {"ViewAlphaBlendsOverWhatIsBelow",
     [] {
         auto root = white_root();
         make_view(CGRectMake(0, 0, 10, 10), rgba(1, 0, 0).get(), root.get())->setAlpha(0.5);
         return root;
     },
     {{5, 5, {255, 128, 128, 255}}, {15, 15, kWhite}}},
    {"AlphaMultipliesDownTheTree",
     [] {
         auto root = white_root();
         auto half = make_view(CGRectMake(0, 0, 20, 20), nullptr, root.get());
         half->setAlpha(0.5);
         make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), half.get())->setAlpha(0.5);
         return root;
     },
     {{10, 10, {191, 191, 191, 255}}}},
    {"TranslucentRootKeepsItsAlpha",
     [] { return make_view(CGRectMake(0, 0, 20, 20), rgba(0, 1, 0, 0.5).get()); },
     {{10, 10, {0, 255, 0, 128}}}},
    {"HiddenViewAndItsSubtreeAreSkipped",
     [] {
         auto root = white_root();
         auto hidden = make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), root.get());
         make_view(CGRectMake(0, 0, 10, 10), rgba(1, 0, 0).get(), hidden.get());
         hidden->setHidden(true);
         return root;
     },
     {{5, 5, kWhite}, {15, 15, kWhite}}},
    {"SubviewsPaintBackToFrontAtTheirFrames",
     [] {
         auto root = white_root();
         make_view(CGRectMake(0, 0, 15, 15), rgba(1, 0, 0).get(), root.get());
         make_view(CGRectMake(5, 5, 15, 15), rgba(0, 0, 1).get(), root.get());
         return root;
     },
     {{2, 2, kRed}, {10, 10, kBlue}, {17, 3, kWhite}}},
    {"ClipsToBoundsCutsTheSubtree",
     [] {
         auto root = white_root();
         auto clip = make_view(CGRectMake(0, 0, 10, 10), nullptr, root.get());
         clip->setClipsToBounds(true);
         make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), clip.get());
         return root;
     },
     {{5, 5, kBlack}, {15, 15, kWhite}, {15, 5, kWhite}}},
    {"WithoutClippingSubviewsOverflow",
     [] {
         auto root = white_root();
         auto open = make_view(CGRectMake(0, 0, 10, 10), nullptr, root.get());
         make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), open.get());
         return root;
     },
     {{15, 15, kBlack}}},
    {"CornerRadiusLeavesCornersTransparent",
     [] {
         auto root = make_view(CGRectMake(0, 0, 20, 20));
         auto rounded = make_view(CGRectMake(0, 0, 20, 20), rgba(1, 0, 0).get(), root.get());
         rounded->layer()->setCornerRadius(8);
         return root;
     },
     {{0.25, 0.25, kClear}, {19.75, 19.75, kClear}, {10, 10, kRed}, {10, 0.25, kRed}, {0.25, 10, kRed}}},
    {"RoundedClipRoundsTheSubtree",
     [] {
         auto root = white_root();
         auto clip = make_view(CGRectMake(0, 0, 20, 20), nullptr, root.get());
         clip->layer()->setCornerRadius(8);
         clip->setClipsToBounds(true);
         make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), clip.get());
         return root;
     },
     {{0.25, 19.75, kWhite}, {10, 10, kBlack}}},
    {"AlphaGroupOverflowingItsViewStillDraws",
     [] {
         auto root = white_root();
         auto small = make_view(CGRectMake(0, 0, 5, 5), nullptr, root.get());
         small->setAlpha(0.5);
         make_view(CGRectMake(10, 10, 10, 10), rgba(0, 0, 0).get(), small.get());
         return root;
     },
     {{15, 15, {128, 128, 128, 255}}, {2, 2, kWhite}}},
    {"VerticalGradientReachesItsEndColours",
     [] {
         auto root = white_root();
         auto layer = gradient({rgba(1, 0, 0), rgba(0, 0, 1)}, {0.5, 0}, {0.5, 1}, {0.1, 0.9});
         layer->setFrame(CGRectMake(0, 0, 20, 20));
         root->layer()->addSublayer(layer.get());
         return root;
     },
     // Pixel row 20 has its centre at 10.25 points, 0.515625 of the way from red to blue.
     {{10, 0.5, kRed}, {10, 19.5, kBlue}, {10, 10, {124, 0, 131, 255}, 2}}},
    {"HorizontalGradientWithEvenSpacing",
     [] {
         auto root = white_root();
         auto layer = gradient({rgba(0, 1, 0), rgba(0, 0, 0), rgba(0, 0, 1)}, {0, 0.5}, {1, 0.5});
         layer->setFrame(CGRectMake(0, 0, 20, 20));
         root->layer()->addSublayer(layer.get());
         return root;
     },
     // Pixel centres at 0.25, 10.25 and 19.75 points: 2.5% into the first half, 2.5% into and
     // 2.5% short of the end of the second.
     {{0.1, 10, {0, 249, 0, 255}, 2}, {10, 10, {0, 0, 6, 255}, 2}, {19.9, 10, {0, 0, 249, 255}, 2}}},
    {"GradientWithOneColourIsFlat",
     [] {
         auto root = white_root();
         auto layer = gradient({rgba(0, 1, 0)}, {0.5, 0}, {0.5, 1});
         layer->setFrame(CGRectMake(0, 0, 20, 20));
         root->layer()->addSublayer(layer.get());
         return root;
     },
     {{10, 1, kGreen}, {10, 19, kGreen}}},
    {"SublayersSitUnderSubviews",
     [] {
         auto root = white_root();
         auto layer = make_object<CALayer>();
         layer->setFrame(CGRectMake(0, 0, 20, 20));
         layer->setBackgroundColor(rgba(1, 0, 0).get());
         root->layer()->addSublayer(layer.get());
         make_view(CGRectMake(0, 0, 10, 20), rgba(0, 1, 0).get(), root.get());
         return root;
     },
     {{5, 10, kGreen}, {15, 10, kRed}}},
    {"PlainMaskMultipliesAlphaAndHidesWhatItLeavesOut",
     [] {
         auto root = white_root();
         auto masked = make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), root.get());
         auto mask = make_object<CALayer>();
         mask->setFrame(CGRectMake(0, 0, 10, 20));
         mask->setBackgroundColor(rgba(1, 1, 1, 0.5).get());
         masked->layer()->setMask(mask.get());
         return root;
     },
     {{5, 10, {128, 128, 128, 255}}, {15, 10, kWhite}}},
    {"MaskAndViewAlphaMultiply",
     [] {
         auto root = white_root();
         auto masked = make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), root.get());
         masked->setAlpha(0.5);
         auto mask = make_object<CALayer>();
         mask->setFrame(CGRectMake(0, 0, 20, 20));
         mask->setBackgroundColor(rgba(0, 0, 0, 0.5).get());
         masked->layer()->setMask(mask.get());
         return root;
     },
     {{10, 10, {191, 191, 191, 255}}}},
    {"GradientMaskFadesTheView",
     [] {
         auto root = white_root();
         auto masked = make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), root.get());
         auto mask = gradient({rgba(0, 0, 0, 0), rgba(0, 0, 0, 1)}, {0.5, 0}, {0.5, 1}, {0.1, 0.9});
         mask->setFrame(CGRectMake(0, 0, 20, 20));
         masked->layer()->setMask(mask.get());
         return root;
     },
     {{10, 0.5, kWhite}, {10, 19.5, kBlack}}},
    {"CompositingFilterBlendsLighter",
     [] {
         auto root = make_view(CGRectMake(0, 0, 20, 20), rgba(0.5, 0.5, 0.5).get());
         auto vibrant = make_view(CGRectMake(0, 0, 10, 20), rgba(0.5, 0.5, 0.5).get(), root.get());
         vibrant->layer()->setCompositingFilter(platform::foundation::ns("plusD").get());
         make_view(CGRectMake(10, 0, 10, 20), rgba(0.5, 0.5, 0.5).get(), root.get());
         return root;
     },
     {{5, 10, {191, 191, 191, 255}, 2}, {15, 10, {128, 128, 128, 255}}}},
    {"PlusLighterAddsToWhatIsBelow",
     [] {
         auto root = make_view(CGRectMake(0, 0, 20, 20), rgba(0.5, 0.5, 0.5).get());
         auto vibrant = make_view(CGRectMake(0, 0, 10, 20), rgba(0.25, 0.25, 0.25).get(), root.get());
         vibrant->layer()->setCompositingFilter(platform::foundation::ns("plusL").get());
         return root;
     },
     {{5, 10, {191, 191, 191, 255}, 2}, {15, 10, {128, 128, 128, 255}}}},
    {"LayerContentsStretchOverTheBounds",
     [] {
         auto root = white_root();
         root->layer()->setContents(four_colour_image().get());
         return root;
     },
     {{1, 1, kRed}, {19, 1, kGreen}, {1, 19, kBlue}, {19, 19, kWhite}}},
    {"ImageViewStretchesItsImage",
     [] {
         auto root = make_view(CGRectMake(0, 0, 20, 20));
         auto view = make_view<UIImageView>(CGRectMake(0, 0, 20, 20), nullptr, root.get());
         view->setImage(four_colour_image().get());
         return root;
     },
     {{1, 1, kRed}, {19, 1, kGreen}, {1, 19, kBlue}, {19, 19, kWhite}}},
};

void PrintTo(const PaintCase& c, std::ostream* out) {
    *out << c.name;
}

class ViewPainting : public testing::TestWithParam<PaintCase> {};

TEST_P(ViewPainting, PixelsMatch) {
    const auto& c = GetParam();
    auto root = c.build();
    const auto image = draw(*root);
    ASSERT_EQ(image.pixel_width, static_cast<int>(root->frame().size.width * 2)) << "drawn at 2x";
    for (const auto& probe : c.probes)
        EXPECT_PRED3(near, pixel_at(image, probe.x, probe.y), probe.expected, probe.tolerance)
            << "at (" << probe.x << ", " << probe.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Trees, ViewPainting, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST(ViewPaintingScale, OnePointCoversScaleSquaredPixels) {
    auto root = white_root(4, 4);
    make_view(CGRectMake(1, 1, 1, 1), rgba(0, 0, 0).get(), root.get());
    for (double scale : {1.0, 2.0, 3.0}) {
        const auto image = draw(*root, scale);
        ASSERT_EQ(image.pixel_width, static_cast<int>(4 * scale));
        int black = 0;
        for (size_t i = 0; i < image.pixels.size(); i += 4)
            black += image.pixels[i] == 0;
        EXPECT_EQ(black, static_cast<int>(scale * scale)) << "at scale " << scale;
    }
}

} // namespace
