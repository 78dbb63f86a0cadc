#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/uikit/_UIBackdropView.h"
#include "render_support.h"

using namespace platform::uikit;
using namespace render_test;
using platform::foundation::CGRectMake;
using platform::runtime::Ref;

namespace {

Ref<UIBackdropView> backdrop_with_style(int64_t style) {
    using namespace platform::runtime;
    auto made = class_createInstance(UIBackdropView::runtime_class());
    auto initialised = msg<Ref<Object>>(made, "initWithStyle:"_sel, style);
    return Ref<UIBackdropView>(dynamic_cast<UIBackdropView*>(initialised.get()));
}

// Black on the left half, white on the right, 40 x 20 points.
Ref<UIView> split_root() {
    auto root = make_view(CGRectMake(0, 0, 40, 20), rgba(0, 0, 0).get());
    make_view(CGRectMake(20, 0, 20, 20), rgba(1, 1, 1).get(), root.get());
    return root;
}

struct TintCase {
    std::string name;
    double tint_alpha;
    Ref<UIColor> tint;
    Rgba expected; // over flat blue
};

void PrintTo(const TintCase& c, std::ostream* out) {
    *out << c.name;
}

class BackdropTint : public testing::TestWithParam<TintCase> {};

// A blur of a flat colour is that colour, so only the tint changes the pixel.
TEST_P(BackdropTint, TintCoversTheBlurAtItsAlpha) {
    const auto& c = GetParam();
    auto root = make_view(CGRectMake(0, 0, 30, 30), rgba(0, 0, 1).get());
    auto backdrop = backdrop_with_style(3900);
    ASSERT_TRUE(backdrop);
    backdrop->inputSettings()->setColorTint(c.tint.get());
    backdrop->inputSettings()->setColorTintAlpha(c.tint_alpha);
    backdrop->setBlurRadius(1.0);
    root->addSubview(backdrop.get());
    const auto image = draw(*root);
    for (auto [x, y] : {std::pair{0.25, 0.25}, {15.0, 15.0}, {29.75, 29.75}})
        EXPECT_PRED3(near, pixel_at(image, x, y), c.expected, 1) << "at (" << x << ", " << y << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Tints, BackdropTint,
    testing::Values(TintCase{"QuarterRed", 0.25, rgba(1, 0, 0), {64, 0, 191, 255}},
                    TintCase{"OpaqueGreen", 1.0, rgba(0, 1, 0), {0, 255, 0, 255}},
                    TintCase{"ZeroAlphaShowsOnlyTheBlur", 0.0, rgba(1, 0, 0), {0, 0, 255, 255}},
                    TintCase{"TintColourAlphaMultiplies", 1.0, rgba(1, 0, 0, 0.5), {128, 0, 128, 255}},
                    TintCase{"AlphaAboveOneIsOpaque", 7.0, rgba(1, 1, 1), {255, 255, 255, 255}},
                    TintCase{"NoTintColourShowsOnlyTheBlur", 1.0, nullptr, {0, 0, 255, 255}}),
    [](const auto& info) { return info.param.name; });

TEST(BackdropPainting, BackdropWithAFrameCoversOnlyThatFrame) {
    auto root = make_view(CGRectMake(0, 0, 30, 30), rgba(0, 0, 1).get());
    auto backdrop = backdrop_with_style(3900);
    backdrop->setFrame(CGRectMake(0, 0, 10, 10));
    backdrop->inputSettings()->setColorTint(rgba(1, 0, 0).get());
    backdrop->inputSettings()->setColorTintAlpha(1.0);
    root->addSubview(backdrop.get());
    const auto image = draw(*root);
    EXPECT_PRED3(near, pixel_at(image, 5, 5), (Rgba{255, 0, 0, 255}), 0);
    EXPECT_PRED3(near, pixel_at(image, 20, 20), (Rgba{0, 0, 255, 255}), 0);
}

TEST(BackdropPainting, BlurMixesWhatLiesBehindAcrossAnEdge) {
    auto root = split_root();
    auto backdrop = backdrop_with_style(3900);
    backdrop->setBlurRadius(4.0);
    root->addSubview(backdrop.get());
    const auto image = draw(*root);
    const Rgba edge = pixel_at(image, 19.75, 10);
    EXPECT_GT(edge.r, 60) << "black beside the edge takes on some white";
    EXPECT_LT(edge.r, 195);
    EXPECT_PRED3(near, pixel_at(image, 1, 10), (Rgba{0, 0, 0, 255}), 0) << "far from the edge stays black";
    EXPECT_PRED3(near, pixel_at(image, 39, 10), (Rgba{255, 255, 255, 255}), 0);
}

TEST(BackdropPainting, BackdropInsideAnAlphaGroupStillSeesWhatLiesBehindTheGroup) {
    auto root = split_root();
    auto group = make_view(CGRectMake(0, 0, 40, 20), nullptr, root.get());
    group->setAlpha(0.999);
    auto backdrop = backdrop_with_style(3900);
    backdrop->setBlurRadius(4.0);
    group->addSubview(backdrop.get());
    const auto image = draw(*root);
    const Rgba edge = pixel_at(image, 19.75, 10);
    EXPECT_GT(edge.r, 60) << "the blur reached the root's pixels";
    EXPECT_LT(edge.r, 195);
    EXPECT_PRED3(near, pixel_at(image, 39, 10), (Rgba{255, 255, 255, 255}), 1);
}

TEST(BackdropPainting, ClippedBackdropBlursOnlyInsideTheClip) {
    auto root = split_root();
    auto clip = make_view(CGRectMake(0, 0, 10, 20), nullptr, root.get());
    clip->setClipsToBounds(true);
    auto backdrop = backdrop_with_style(3900);
    backdrop->setFrame(CGRectMake(0, 0, 40, 20));
    backdrop->inputSettings()->setColorTint(rgba(0, 1, 0).get());
    backdrop->inputSettings()->setColorTintAlpha(1.0);
    clip->addSubview(backdrop.get());
    const auto image = draw(*root);
    EXPECT_PRED3(near, pixel_at(image, 5, 10), (Rgba{0, 255, 0, 255}), 0);
    EXPECT_PRED3(near, pixel_at(image, 19.75, 10), (Rgba{0, 0, 0, 255}), 0) << "outside the clip: unblurred";
    EXPECT_PRED3(near, pixel_at(image, 20.25, 10), (Rgba{255, 255, 255, 255}), 0);
}

} // namespace

// A blur of a flat, opaque colour stays that colour up to the picture's edges, also when the
// blur works at a fraction of the resolution and the width is not a multiple of it.
TEST(BackdropPainting, FlatColourStaysOpaqueAtEveryEdge) {
    const std::pair<double, double> sizes_and_radii[] = {{31, 20}, {30.5, 20}, {30.5, 8}, {31.5, 3}};
    for (auto [width, radius] : sizes_and_radii) {
        SCOPED_TRACE("width " + std::to_string(width) + ", radius " + std::to_string(radius));
        auto root = make_view(CGRectMake(0, 0, width, 21.5), rgba(0, 1, 0).get());
        auto backdrop = backdrop_with_style(3900);
        backdrop->setBlurRadius(radius);
        root->addSubview(backdrop.get());
        const auto image = draw(*root);
        for (auto [x, y] :
             {std::pair{0.25, 0.25}, {width - 0.25, 10.0}, {width - 0.25, 21.25}, {10.0, 21.25}})
            EXPECT_PRED3(near, pixel_at(image, x, y), (Rgba{0, 255, 0, 255}), 1)
                << "at (" << x << ", " << y << ")";
    }
}

namespace {

// How far a pixel lies from the nearer of black and white, in its red channel.
int distance_from_pure(const Rgba& c) {
    return std::min(c.r, 255 - c.r);
}

// A sharp black-white edge 100 points into a 200-point strip under a backdrop of the style.
Rgba blurred_near_edge(int64_t style, double x) {
    auto root = make_view(CGRectMake(0, 0, 200, 20), rgba(0, 0, 0).get());
    make_view(CGRectMake(100, 0, 100, 20), rgba(1, 1, 1).get(), root.get());
    auto backdrop = backdrop_with_style(style);
    root->addSubview(backdrop.get());
    return pixel_at(draw(*root), x, 10);
}

} // namespace

// Without a radius of its own a backdrop blurs at its style's radius: light glass further than
// dark, so at the same distance from an edge the light one is the more mixed.
TEST(BackdropStyle, LightGlassBlursFurtherThanDark) {
    EXPECT_GT(UIBackdropViewSettings::blur_radius_for_style(UIBackdropViewSettings::kStyleLight),
              UIBackdropViewSettings::blur_radius_for_style(UIBackdropViewSettings::kStyleDark));
    for (double x : {78.0, 88.0, 112.0, 122.0}) {
        SCOPED_TRACE("at x = " + std::to_string(x));
        const Rgba light = blurred_near_edge(UIBackdropViewSettings::kStyleLight, x);
        const Rgba dark = blurred_near_edge(UIBackdropViewSettings::kStyleDark, x);
        EXPECT_GT(distance_from_pure(light), distance_from_pure(dark)) << light << " vs " << dark;
    }
}
