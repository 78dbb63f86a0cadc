#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/render/ImageCache.h"
#include "platform/render/ViewRenderer.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/png_codec.h"
#include "render_support.h"

using namespace platform::uikit;
using namespace render_test;
using platform::foundation::CGRectMake;
using platform::render::ImageCache;
using platform::render::render_view_image;
using platform::render::render_view_png;
using platform::render::render_view_png_bytes;
using platform::render::ViewRenderer;
using platform::runtime::Ref;
namespace fs = std::filesystem;

namespace {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "render-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

  private:
    fs::path path_;
};

Ref<UIView> small_tree() {
    auto root = make_view(CGRectMake(0, 0, 8, 6), rgba(1, 0, 0).get());
    make_view(CGRectMake(4, 0, 4, 6), rgba(0, 0, 1).get(), root.get());
    return root;
}

TEST(PngOutput, FileHoldsTheTreeAtTwiceItsSize) {
    TempFolder folder;
    const std::string path = (folder.path() / "shot.png").string();
    auto written = render_view_png(small_tree().get(), path, {});
    ASSERT_TRUE(written) << written.error();
    auto decoded = decodePng(path, 2.0);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixel_width, 16);
    EXPECT_EQ(decoded->pixel_height, 12);
    EXPECT_EQ(pixel_at(*decoded, 1, 1), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel_at(*decoded, 7, 5), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"shot.png"}) << "no temporary file is left behind";
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::others_read, fs::perms::others_read);
}

// Translucent and fully transparent pixels too: the encoder undoes the drawing's premultiplied
// alpha, and must do it exactly as the pixel read-out does.
Ref<UIView> translucent_tree() {
    auto root = make_view(CGRectMake(0, 0, 8, 6), rgba(0, 0, 0, 0).get());
    make_view(CGRectMake(0, 0, 4, 6), rgba(0.9, 0.3, 0.1, 0.37).get(), root.get());
    make_view(CGRectMake(4, 0, 2, 6), rgba(0.2, 0.8, 0.6, 0.81).get(), root.get());
    return root;
}

TEST(PngOutput, BytesMatchThePixels) {
    for (const auto& tree : {small_tree(), translucent_tree()}) {
        auto bytes = render_view_png_bytes(tree.get(), {});
        ASSERT_TRUE(bytes) << bytes.error();
        ASSERT_GT(bytes->size(), 8u);
        EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + 8), "\x89PNG\r\n\x1a\n");
        TempFolder folder;
        const auto path = (folder.path() / "bytes.png").string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes->data()), bytes->size());
        auto decoded = decodePng(path, 2.0);
        auto image = render_view_image(tree.get(), {});
        ASSERT_TRUE(decoded && image);
        EXPECT_EQ(decoded->pixels, image->pixels);
    }
}

TEST(PngOutput, TranslucentPixelsAreStraightAlpha) {
    auto image = render_view_image(translucent_tree().get(), {});
    ASSERT_TRUE(image) << image.error();
    const Rgba left = pixel_at(*image, 1, 1), right = pixel_at(*image, 5, 1), clear = pixel_at(*image, 7, 1);
    EXPECT_EQ(left.a, 94); // 0.37 of 255, rounded
    EXPECT_NEAR(left.r, 230, 2);
    EXPECT_NEAR(left.g, 77, 2);
    EXPECT_EQ(right.a, 207);
    EXPECT_NEAR(right.g, 204, 2);
    EXPECT_EQ(clear, (Rgba{0, 0, 0, 0}));
}

TEST(PngOutput, FileErrorsAreReadableAndLeaveNothingBehind) {
    TempFolder folder;
    struct Case {
        std::string path;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"/nonexistent-folder/shot.png",
         "cannot write /nonexistent-folder/shot.png: No such file or directory"},
        {"", "no file name given"},
        {folder.path().string(), "cannot write " + folder.path().string() + ": Is a directory"},
    };
    for (const auto& c : cases) {
        auto written = render_view_png(small_tree().get(), c.path, {});
        EXPECT_FALSE(written) << c.path;
        EXPECT_EQ(written.error(), c.error);
    }
    EXPECT_TRUE(folder.entries().empty());
}

TEST(RenderErrors, BadViewsAndOptionsAreRefusedWithAReason) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::string name;
        Ref<UIView> view;
        double scale;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"nil view", nullptr, 2, "no view to draw"},
        {"empty frame", make_view(CGRectMake(0, 0, 0, 10)), 2, "the view has no area to draw"},
        {"negative size", make_view(CGRectMake(0, 0, -5, 10)), 2, "the view has no area to draw"},
        {"NaN size", make_view(CGRectMake(0, 0, nan, 10)), 2, "the view has no area to draw"},
        {"zero scale", small_tree(), 0, "the scale must be a number above 0 and at most 8"},
        {"NaN scale", small_tree(), nan, "the scale must be a number above 0 and at most 8"},
        {"huge scale", small_tree(), 9, "the scale must be a number above 0 and at most 8"},
        {"huge view", make_view(CGRectMake(0, 0, 1e6, 1e6)), 1,
         "the view is too large to draw at this scale"},
    };
    for (const auto& c : cases) {
        auto image = render_view_image(c.view.get(), {c.scale});
        EXPECT_FALSE(image) << c.name;
        EXPECT_EQ(image.error(), c.error) << c.name;
        auto bytes = render_view_png_bytes(c.view.get(), {c.scale});
        EXPECT_FALSE(bytes) << c.name;
        EXPECT_EQ(bytes.error(), c.error) << c.name;
    }
}

TEST(RenderErrors, BrokenValuesInsideTheTreeAreSkippedAndTheRestDraws) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    auto root = make_view(CGRectMake(0, 0, 20, 20), rgba(1, 1, 1).get());
    make_view(CGRectMake(nan, 0, 20, 20), rgba(0, 0, 0).get(), root.get());
    make_view(CGRectMake(0, 0, inf, 20), rgba(0, 0, 0).get(), root.get());
    make_view(CGRectMake(0, 0, 20, 20), rgba(0, 0, 0).get(), root.get())->setAlpha(nan);
    auto rounded = make_view(CGRectMake(0, 0, 10, 10), rgba(0, 1, 0).get(), root.get());
    rounded->layer()->setCornerRadius(nan);
    auto odd_colour = make_view(CGRectMake(10, 10, 10, 10), rgba(nan, 2.0, -1.0).get(), root.get());
    auto broken_layer = platform::runtime::make_object<CALayer>();
    broken_layer->setFrame(CGRectMake(0, nan, 5, 5));
    broken_layer->setBackgroundColor(rgba(0, 0, 0).get());
    root->layer()->addSublayer(broken_layer.get());
    // Two layers that mask each other.
    auto a = platform::runtime::make_object<CALayer>(), b = platform::runtime::make_object<CALayer>();
    a->setFrame(CGRectMake(0, 0, 20, 20));
    b->setFrame(CGRectMake(0, 0, 20, 20));
    a->setBackgroundColor(rgba(1, 1, 1).get());
    b->setBackgroundColor(rgba(1, 1, 1).get());
    a->setMask(b.get());
    b->setMask(a.get());
    auto cyclic = make_view(CGRectMake(10, 0, 10, 10), rgba(0, 0, 1).get(), root.get());
    cyclic->layer()->setMask(a.get());

    const auto image = draw(*root);
    EXPECT_EQ(pixel_at(image, 5, 5), (Rgba{0, 255, 0, 255})) << "a NaN radius draws square";
    EXPECT_EQ(pixel_at(image, 15, 15), (Rgba{0, 255, 0, 255})) << "components pinned to 0..1";
    EXPECT_EQ(pixel_at(image, 15, 5), (Rgba{0, 0, 255, 255})) << "the mask cycle is cut, not followed";
    EXPECT_EQ(pixel_at(image, 5, 15), (Rgba{255, 255, 255, 255})) << "broken frames draw nothing";
    b->setMask(nullptr); // the two layers hold each other; let them go
}

TEST(ReusedRenderer, FramesFollowTheTreeAndImagesAreKeptOnlyWhileShown) {
    ViewRenderer renderer;
    auto root = make_view(CGRectMake(0, 0, 10, 10), rgba(1, 0, 0).get());
    auto picture = make_view<UIImageView>(CGRectMake(0, 0, 5, 5), nullptr, root.get());
    picture->setImage(
        UIImage::withImage(zimtone::colour::Image::fromPixels(1, 1, 1.0, {0, 255, 0, 255})).get());
    auto drawn = renderer.render(root.get());
    ASSERT_TRUE(drawn) << drawn.error();
    EXPECT_EQ(pixel_at(renderer.image(), 2, 2), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel_at(renderer.image(), 7, 7), (Rgba{255, 0, 0, 255}));

    picture->setHidden(true);
    root->setBackgroundColor(rgba(0, 0, 1).get());
    drawn = renderer.render(root.get());
    ASSERT_TRUE(drawn) << drawn.error();
    EXPECT_EQ(pixel_at(renderer.image(), 2, 2), (Rgba{0, 0, 255, 255})) << "the old frame is cleared";

    auto larger = make_view(CGRectMake(0, 0, 30, 10), nullptr);
    drawn = renderer.render(larger.get());
    ASSERT_TRUE(drawn) << drawn.error();
    EXPECT_EQ(renderer.image().pixel_width, 60);
    EXPECT_EQ(pixel_at(renderer.image(), 2, 2), (Rgba{0, 0, 0, 0}));
}

TEST(ImageCaching, EntriesLiveWhileDrawnAndGoAfterAFrameWithout) {
    ImageCache cache;
    auto image = UIImage::withImage(zimtone::colour::Image::fromPixels(1, 1, 1.0, {200, 100, 50, 128}));
    auto broken = UIImage::withImage(zimtone::colour::Image{});
    cairo_surface_t* first = cache.surface_for(*image);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(cache.surface_for(*image), first) << "converted once";
    EXPECT_EQ(cache.surface_for(*broken), nullptr) << "an image without pixels has no surface";
    const uint32_t pixel = *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(first));
    EXPECT_EQ(pixel, 0x80643219u) << "premultiplied by its alpha";
    cache.end_frame();
    EXPECT_EQ(cache.size(), 2u) << "both were asked for in the frame";
    cache.surface_for(*image);
    cache.end_frame();
    EXPECT_EQ(cache.size(), 1u) << "the image not drawn in the last frame is dropped";
    cache.end_frame();
    EXPECT_EQ(cache.size(), 0u);
}

} // namespace
