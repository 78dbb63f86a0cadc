#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSString.h"
#include "platform/render/SystemFace.h"
#include "platform/render/TextStyle.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "render_support.h"

using namespace platform::uikit;
using namespace render_test;
using platform::foundation::CGRect;
using platform::foundation::CGRectMake;
using platform::foundation::ns;
using platform::foundation::NSFontAttributeName;
using platform::foundation::NSForegroundColorAttributeName;
using platform::foundation::NSMakeRange;
using platform::foundation::NSMutableAttributedString;
using platform::render::FaceChoice;
using platform::render::styled_text;
using platform::render::system_face;
using platform::runtime::Ref;

namespace {

// Where the ink of one hue lies in a picture drawn on a transparent background.
struct Ink {
    int count{0};
    double mean_x{0};
    int min_x{1 << 30}, max_x{-1}, min_y{1 << 30}, max_y{-1};
};

enum class Hue { Any, Red, Green, Blue };

bool is_hue(const uint8_t* p, Hue hue) {
    if (p[3] < 128)
        return false;
    switch (hue) {
    case Hue::Red:
        return p[0] > 150 && p[1] < 100 && p[2] < 100;
    case Hue::Green:
        return p[1] > 150 && p[0] < 100 && p[2] < 100;
    case Hue::Blue:
        return p[2] > 150 && p[0] < 100 && p[1] < 100;
    case Hue::Any:
        return true;
    }
    return false;
}

Ink ink_of(const zimtone::colour::Image& image, Hue hue) {
    Ink ink;
    double sum = 0;
    for (int y = 0; y < image.pixel_height; ++y)
        for (int x = 0; x < image.pixel_width; ++x) {
            if (!is_hue(image.pixels.data() + (static_cast<size_t>(y) * image.pixel_width + x) * 4, hue))
                continue;
            ++ink.count;
            sum += x;
            ink.min_x = std::min(ink.min_x, x), ink.max_x = std::max(ink.max_x, x);
            ink.min_y = std::min(ink.min_y, y), ink.max_y = std::max(ink.max_y, y);
        }
    ink.mean_x = ink.count ? sum / ink.count : -1;
    return ink;
}

Ref<UILabel> label(CGRect frame, const char* text, UIView* parent) {
    auto view = make_view<UILabel>(frame, nullptr, parent);
    view->setText(ns(text).get());
    return view;
}

TEST(LabelDrawing, EachRunTakesItsOwnColour) {
    auto root = make_view(CGRectMake(0, 0, 200, 30));
    auto text = NSMutableAttributedString::create("MMMMMMBBBBBB");
    text->add_attribute(NSForegroundColorAttributeName, rgba(1, 0, 0), NSMakeRange(0, 6));
    text->add_attribute(NSForegroundColorAttributeName, rgba(0, 0, 1), NSMakeRange(6, 6));
    auto view = make_view<UILabel>(CGRectMake(0, 0, 200, 30), nullptr, root.get());
    view->setAttributedText(text.get());
    view->setTextAlignment(NSTextAlignmentLeft);
    const auto image = draw(*root);
    const Ink red = ink_of(image, Hue::Red), blue = ink_of(image, Hue::Blue);
    ASSERT_GT(red.count, 50);
    ASSERT_GT(blue.count, 50);
    EXPECT_LT(red.max_x, blue.min_x) << "red letters come first, blue ones after";
}

TEST(LabelDrawing, TextWithoutColourTakesTheLabelColour) {
    auto root = make_view(CGRectMake(0, 0, 100, 30));
    auto view = label(CGRectMake(0, 0, 100, 30), "Hello", root.get());
    view->setTextColor(rgba(0, 1, 0).get());
    const auto image = draw(*root);
    EXPECT_GT(ink_of(image, Hue::Green).count, 30);
    EXPECT_EQ(ink_of(image, Hue::Red).count + ink_of(image, Hue::Blue).count, 0);
}

TEST(LabelDrawing, TextStaysInsideTheLabel) {
    auto root = make_view(CGRectMake(0, 0, 200, 60));
    auto view =
        label(CGRectMake(20, 20, 60, 20), "A long line of text that cannot fit in sixty points", root.get());
    const auto image = draw(*root);
    const Ink ink = ink_of(image, Hue::Any);
    ASSERT_GT(ink.count, 30);
    EXPECT_GE(ink.min_x, 40);
    EXPECT_LT(ink.max_x, 160) << "cut at the label's right edge";
    EXPECT_GE(ink.min_y, 40);
    EXPECT_LT(ink.max_y, 80) << "one line, not wrapped below";
    EXPECT_GT(ink.max_x, 130) << "one long line runs across the whole label";
}

struct AlignmentCase {
    int64_t alignment;
    double low, high; // where the ink's mean x lies, as a fraction of the width
};

void PrintTo(const AlignmentCase& c, std::ostream* out) {
    *out << "alignment " << c.alignment;
}

class LabelAlignment : public testing::TestWithParam<AlignmentCase> {};

TEST_P(LabelAlignment, InkSitsOnTheAlignedSide) {
    auto root = make_view(CGRectMake(0, 0, 300, 30));
    auto view = label(CGRectMake(0, 0, 300, 30), "Wide", root.get());
    view->setTextAlignment(GetParam().alignment);
    const auto image = draw(*root);
    const Ink ink = ink_of(image, Hue::Any);
    ASSERT_GT(ink.count, 10);
    const double where = ink.mean_x / image.pixel_width;
    EXPECT_GT(where, GetParam().low);
    EXPECT_LT(where, GetParam().high);
}

INSTANTIATE_TEST_SUITE_P(Alignments, LabelAlignment,
                         testing::Values(AlignmentCase{NSTextAlignmentLeft, 0.0, 0.2},
                                         AlignmentCase{NSTextAlignmentCenter, 0.4, 0.6},
                                         AlignmentCase{NSTextAlignmentRight, 0.8, 1.0},
                                         AlignmentCase{NSTextAlignmentNatural, 0.0, 0.2},
                                         AlignmentCase{NSTextAlignmentJustified, 0.0, 0.2},
                                         AlignmentCase{99, 0.0, 0.2}));

TEST(LabelDrawing, BoldFontNamesDrawHeavierStrokes) {
    auto ink_for = [](const char* font_name) {
        auto root = make_view(CGRectMake(0, 0, 200, 30));
        auto view = label(CGRectMake(0, 0, 200, 30), "Heavier strokes", root.get());
        view->setFont(UIFont::fontWithName(font_name, 17).get());
        return ink_of(draw(*root), Hue::Any).count;
    };
    const int regular = ink_for(".SFUIText-Regular");
    EXPECT_GT(ink_for(".SFUIText-Semibold"), regular * 1.15);
    EXPECT_GT(ink_for("HelveticaNeue-Bold"), regular * 1.15);
}

TEST(LabelDrawing, UnusableFontSizesDrawNothingAndDoNotFail) {
    for (double size : {0.0, -4.0, std::nan("")}) {
        auto root = make_view(CGRectMake(0, 0, 100, 30));
        auto view = label(CGRectMake(0, 0, 100, 30), "Text", root.get());
        view->setFont(UIFont::fontWithName("Any", size).get());
        EXPECT_EQ(ink_of(draw(*root), Hue::Any).count, 0) << "size " << size;
    }
}

TEST(ButtonDrawing, TitleTakesTheColourOfTheCurrentState) {
    auto root = make_view(CGRectMake(0, 0, 120, 40));
    auto button = make_view<UIButton>(CGRectMake(0, 0, 120, 40), nullptr, root.get());
    button->setTitleForState(ns("Reply").get(), UIControlStateNormal);
    button->setTitleColorForState(rgba(1, 0, 0).get(), UIControlStateNormal);
    button->setTitleColorForState(rgba(0, 0, 1).get(), UIControlStateDisabled);
    root->layoutIfNeeded();
    auto image = draw(*root);
    EXPECT_GT(ink_of(image, Hue::Red).count, 30);
    EXPECT_EQ(ink_of(image, Hue::Blue).count, 0);

    button->setEnabled(false);
    image = draw(*root);
    EXPECT_GT(ink_of(image, Hue::Blue).count, 30);
    EXPECT_EQ(ink_of(image, Hue::Red).count, 0);
}

TEST(ButtonDrawing, ImageIsCentredAndScaledDownToFit) {
    struct Case {
        double side;                // the image's size in points
        double inside_x, outside_x; // probe columns at mid-height
    };
    for (const Case c : {Case{10, 16, 14}, Case{40, 11, 9}}) {
        auto root = make_view(CGRectMake(0, 0, 40, 20));
        auto button = make_view<UIButton>(CGRectMake(0, 0, 40, 20), nullptr, root.get());
        const int pixels = static_cast<int>(c.side);
        std::vector<uint8_t> green;
        for (int i = 0; i < pixels * pixels; ++i)
            green.insert(green.end(), {0, 255, 0, 255});
        button->setImageForState(
            UIImage::withImage(zimtone::colour::Image::fromPixels(pixels, pixels, 1.0, green)).get(),
            UIControlStateNormal);
        const auto image = draw(*root);
        EXPECT_EQ(pixel_at(image, c.inside_x, 10), (Rgba{0, 255, 0, 255})) << "side " << c.side;
        EXPECT_EQ(pixel_at(image, 40 - c.inside_x, 10), (Rgba{0, 255, 0, 255})) << "side " << c.side;
        EXPECT_EQ(pixel_at(image, c.outside_x, 10).a, 0) << "side " << c.side;
    }
}

// The styled text handed to the layout: byte ranges, colours and cleaned characters.
struct StyleCase {
    std::string name;
    std::string text;
    std::vector<std::pair<uint64_t, uint64_t>> red_ranges; // UTF-16 ranges coloured red
    std::string expected_utf8;
    std::vector<std::pair<size_t, size_t>> expected_bytes;
    std::vector<bool> expected_red;
};

void PrintTo(const StyleCase& c, std::ostream* out) {
    *out << c.name;
}

class TextStyling : public testing::TestWithParam<StyleCase> {};

TEST_P(TextStyling, RunsMapToByteRangesOfCleanText) {
    const auto& c = GetParam();
    auto text = NSMutableAttributedString::create(c.text);
    for (auto [location, length] : c.red_ranges)
        text->add_attribute(NSForegroundColorAttributeName, rgba(1, 0, 0), NSMakeRange(location, length));
    const auto styled = styled_text(*text, rgba(0, 0, 1).get());
    EXPECT_EQ(styled.utf8, c.expected_utf8);
    ASSERT_EQ(styled.runs.size(), c.expected_bytes.size());
    for (size_t i = 0; i < styled.runs.size(); ++i) {
        EXPECT_EQ(styled.runs[i].begin, c.expected_bytes[i].first) << "run " << i;
        EXPECT_EQ(styled.runs[i].end, c.expected_bytes[i].second) << "run " << i;
        EXPECT_EQ(styled.runs[i].colour.red, c.expected_red[i] ? 1.0 : 0.0) << "run " << i;
        EXPECT_EQ(styled.runs[i].colour.blue, c.expected_red[i] ? 0.0 : 1.0) << "run " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextStyling,
    testing::Values(
        StyleCase{"Ascii", "abcdef", {{2, 2}}, "abcdef", {{0, 2}, {2, 4}, {4, 6}}, {false, true, false}},
        StyleCase{"TwoByteCharacters",
                  "\xC3\xA9t\xC3\xA9",
                  {{1, 2}},
                  "\xC3\xA9t\xC3\xA9",
                  {{0, 2}, {2, 5}},
                  {false, true}},
        StyleCase{"SurrogatePairCountsTwoUnits",
                  "\xF0\x9F\x98\x80x",
                  {{2, 1}},
                  "\xF0\x9F\x98\x80x",
                  {{0, 4}, {4, 5}},
                  {false, true}},
        StyleCase{"LineBreaksBecomeSpaces", "a\nb\tc", {}, "a b c", {{0, 5}}, {false}},
        StyleCase{"InvalidBytesBecomeReplacementCharacters",
                  "a\xFF",
                  {{0, 1}},
                  "a\xEF\xBF\xBD",
                  {{0, 1}, {1, 4}},
                  {true, false}}),
    [](const auto& info) { return info.param.name; });

TEST(TextStyling, RunFontsAndOutOfRangeColoursAreCarried) {
    auto text = NSMutableAttributedString::create("ab");
    auto font = UIFont::fontWithName("Bold", 12);
    text->add_attribute(NSFontAttributeName, font, NSMakeRange(1, 1));
    text->add_attribute(NSForegroundColorAttributeName, rgba(1.7, -0.5, std::nan(""), 2.0),
                        NSMakeRange(0, 1));
    const auto styled = styled_text(*text, nullptr);
    ASSERT_EQ(styled.runs.size(), 2u);
    EXPECT_EQ(styled.runs[0].font, nullptr);
    EXPECT_EQ(styled.runs[1].font, font.get());
    const auto& c = styled.runs[0].colour;
    EXPECT_EQ(c.red, 1.0);
    EXPECT_EQ(c.green, 0.0);
    EXPECT_EQ(c.blue, 0.0) << "NaN reads as nothing";
    EXPECT_EQ(c.alpha, 1.0);
}

TEST(FontFaces, TheNameAndSizePickFamilyAndWeightAsThePhoneDoes) {
    struct Row {
        std::string name;
        double size;
        bool inter;
        FaceChoice expected;
    };
    const std::vector<Row> table = {
        {".SFUIText-Regular", 17, true, {"Inter", 400}},
        {".SFUIText-Semibold", 15, true, {"Inter", 600}},
        {".SFUIText-Regular", 19.99, true, {"Inter", 400}},
        {".SFUIDisplay-Regular", 20, true, {"Inter Display", 400}}, // the display face from 20 up
        {".SFUIDisplay-Thin", 72, true, {"Inter Display", 100}},    // the lock-screen clock
        {".SFUIDisplay-Medium", 22, true, {"Inter Display", 500}},
        {"HelveticaNeue-UltraLight", 30, true, {"Inter Display", 200}},
        {"Helvetica Light", 12, true, {"Inter", 300}},
        {"HelveticaNeue-Bold", 12, true, {"Inter", 700}},
        {"Avenir-Heavy", 12, true, {"Inter", 800}},
        {"Avenir-Black", 12, true, {"Inter", 900}},
        {"", 12, true, {"Inter", 400}},
        {"bold", 12, true, {"Inter", 400}}, // names are matched as the platform writes them
        {".SFUIText-Semibold", 15, false, {"DejaVu Sans", 600}},
        {".SFUIDisplay-Thin", 72, false, {"DejaVu Sans", 100}},
    };
    for (const auto& row : table) {
        FaceChoice face = system_face(row.name, row.size, row.inter);
        EXPECT_EQ(face.family, row.expected.family) << row.name << " at " << row.size;
        EXPECT_EQ(face.weight, row.expected.weight) << row.name << " at " << row.size;
    }
}

} // namespace
