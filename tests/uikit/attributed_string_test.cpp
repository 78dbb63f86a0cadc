#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/NSAttributedString.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/TextColour.h"
#include "platform/uikit/UIColor.h"

using namespace platform::runtime;
using namespace platform::foundation;
using platform::uikit::foreground_colour_at;
using platform::uikit::UIColor;

namespace {

Ref<UIColor> rgb(double r, double g, double b) {
    return UIColor::colorWithRGBA(r, g, b, 1);
}

// The foreground colour of every character, as pointers, for whole-string comparisons.
std::vector<const Object*> colours_of(const NSAttributedString& s) {
    std::vector<const Object*> out;
    for (uint64_t i = 0; i < s.length(); ++i)
        out.push_back(foreground_colour_at(s, i));
    return out;
}

} // namespace

TEST(AttributedString, ForegroundOverARangeOverwritesEarlierColoursAndKeepsTheRest) {
    auto red = rgb(1, 0, 0), green = rgb(0, 1, 0), white = rgb(1, 1, 1);
    auto font = ns("font");
    auto text = NSMutableAttributedString::create("abcdef", {{NSFontAttributeName, font}});
    text->add_attribute(NSForegroundColorAttributeName, red, {0, 2});
    text->add_attribute(NSForegroundColorAttributeName, green, {2, 4});
    text->add_attribute("NSKern", ns("2"), {3, 1});

    msg(text, "addAttribute:value:range:"_sel, ns(NSForegroundColorAttributeName), white, NSRange{0, 6});

    EXPECT_EQ(colours_of(*text), std::vector<const Object*>(6, white.get()));
    for (uint64_t i = 0; i < 6; ++i)
        EXPECT_EQ(text->attribute_at(NSFontAttributeName, i), font.get()) << i;
    EXPECT_NE(text->attribute_at("NSKern", 3), nullptr);
    EXPECT_EQ(text->attribute_at("NSKern", 4), nullptr);
}

TEST(AttributedString, RunsSplitAndMergeWithTheAttributes) {
    auto red = rgb(1, 0, 0);
    auto text = NSMutableAttributedString::create("abcdef");
    text->add_attribute(NSForegroundColorAttributeName, red, {2, 2});
    ASSERT_EQ(text->runs().size(), 3u);
    EXPECT_EQ(text->runs()[1].range, (NSRange{2, 2}));
    NSRange effective;
    EXPECT_EQ(text->attributes_at(3, &effective).size(), 1u);
    EXPECT_EQ(effective, (NSRange{2, 2}));

    // Colouring the rest with the same object leaves one run over the whole string.
    text->add_attribute(NSForegroundColorAttributeName, red, {0, 2});
    text->add_attribute(NSForegroundColorAttributeName, red, {4, 2});
    ASSERT_EQ(text->runs().size(), 1u);
    EXPECT_EQ(text->runs()[0].range, (NSRange{0, 6}));
}

TEST(AttributedString, RangesCountUtf16UnitsAndAreCutAtTheEnd) {
    auto red = rgb(1, 0, 0);
    struct Case {
        const char* text;
        NSRange range;
        uint64_t length;
        std::string coloured;
    };
    const std::vector<Case> cases{
        {"héllo", {1, 2}, 5, "él"}, {"a😀b", {1, 2}, 4, "😀"}, // an emoji is a surrogate pair: two units
        {"abc", {1, 100}, 3, "bc"}, {"abc", {7, 2}, 3, ""},  {"", {0, 1}, 0, ""},
    };
    for (const auto& tc : cases) {
        auto text = NSMutableAttributedString::create(tc.text);
        EXPECT_EQ(msg<uint64_t>(text, "length"_sel), tc.length) << tc.text;
        text->add_attribute(NSForegroundColorAttributeName, red, tc.range);
        std::string coloured;
        for (const auto& run : text->runs())
            if (run.attributes.contains(NSForegroundColorAttributeName))
                coloured += text->substring(run.range);
        EXPECT_EQ(coloured, tc.coloured) << tc.text;
    }
}

TEST(AttributedString, MutableCopyIsIndependent) {
    auto red = rgb(1, 0, 0), blue = rgb(0, 0, 1);
    auto original = NSAttributedString::create("text", {{NSForegroundColorAttributeName, red}});
    auto copy = msg<Ref<NSMutableAttributedString>>(original, "mutableCopy"_sel);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->str(), "text");
    copy->add_attribute(NSForegroundColorAttributeName, blue, {0, 4});
    EXPECT_EQ(foreground_colour_at(*original, 0), red.get());
    EXPECT_EQ(foreground_colour_at(*copy, 0), blue.get());

    auto second = copy->mutableCopy();
    second->add_attribute(NSForegroundColorAttributeName, red, {0, 1});
    EXPECT_EQ(foreground_colour_at(*copy, 0), blue.get());
}

TEST(AttributedString, SetAttributesReplacesAndNilArgumentsChangeNothing) {
    auto red = rgb(1, 0, 0);
    auto text = NSMutableAttributedString::create("abcd", {{"NSKern", ns("1")}});
    auto replacement = NSMutableDictionary::create();
    replacement->set(NSForegroundColorAttributeName, red);
    msg(text, "setAttributes:range:"_sel, replacement, NSRange{0, 2});
    EXPECT_EQ(text->attributes_at(0).size(), 1u);
    EXPECT_EQ(foreground_colour_at(*text, 1), red.get());
    EXPECT_NE(text->attribute_at("NSKern", 2), nullptr);

    msg(text, "addAttribute:value:range:"_sel, ns("NSKern"), static_cast<Object*>(nullptr), NSRange{0, 4});
    msg(text, "addAttribute:value:range:"_sel, static_cast<Object*>(nullptr), red, NSRange{0, 4});
    EXPECT_EQ(text->attribute_at("NSKern", 0), nullptr);
    EXPECT_NE(text->attribute_at("NSKern", 3), nullptr);
    EXPECT_EQ(foreground_colour_at(*text, 3), nullptr);

    msg(text, "removeAttribute:range:"_sel, ns("NSKern"), NSRange{0, 4});
    EXPECT_EQ(text->attribute_at("NSKern", 3), nullptr);
}

TEST(AttributedString, InitialisersThroughTheRuntime) {
    auto attributes = NSMutableDictionary::create();
    attributes->set(NSForegroundColorAttributeName, rgb(0, 1, 0));
    auto made = msg<Ref<NSAttributedString>>(class_createInstance(NSAttributedString::runtime_class()),
                                             "initWithString:attributes:"_sel, ns("hi"), attributes);
    ASSERT_TRUE(made);
    EXPECT_EQ(msg<Ref<NSString>>(made, "string"_sel)->str(), "hi");
    ASSERT_NE(foreground_colour_at(*made, 1), nullptr);
    EXPECT_EQ(foreground_colour_at(*made, 1)->colour().green, 1.0);

    auto empty = msg<Ref<NSAttributedString>>(class_createInstance(NSAttributedString::runtime_class()),
                                              "initWithString:"_sel, static_cast<Object*>(nullptr));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->length(), 0u);
    EXPECT_TRUE(empty->attributes_at(0).empty());
}
