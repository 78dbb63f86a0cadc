// The keyboard as laid out on a 4.7-inch phone: where each kind of key sits and how big it is,
// and the dictation key's drawn microphone.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/foundation/NSString.h"
#include "platform/uikit/keyboard/Keyboard.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "render_support.h"

using namespace platform::uikit;
using namespace render_test;
using platform::foundation::CGRect;
using platform::foundation::CGRectMake;

namespace {

std::map<std::string, CGRect> key_frames(const UIKeyboardLayout& layout) {
    std::map<std::string, CGRect> frames;
    for (const auto& view : layout.subview_list())
        if (auto* key = dynamic_cast<UIKBBlurredKeyView*>(view.get()))
            if (const std::string* text = platform::foundation::string_of(key->key()))
                frames[*text] = key->frame();
    return frames;
}

TEST(KeyboardGeometry, KeysSitWhereThePhonePutsThem) {
    auto layout = Keyboard::build(375);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->frame().size.height, 260);
    const auto frames = key_frames(*layout);
    struct Expected {
        const char* key;
        CGRect frame;
    } cases[] = {
        {"q", CGRectMake(0.5, 50, 32, 42)},       {"p", CGRectMake(342.5, 50, 32, 42)},
        {"a", CGRectMake(19.5, 104, 32, 42)},     {"l", CGRectMake(323.5, 104, 32, 42)},
        {"z", CGRectMake(57.5, 158, 32, 42)},     {"⇧", CGRectMake(3, 158, 42, 42)},
        {"⌫", CGRectMake(330, 158, 42, 42)},      {"123", CGRectMake(3, 212, 42, 42)},
        {"☺", CGRectMake(51, 212, 42, 42)},       {"dictation", CGRectMake(99, 212, 42, 42)},
        {"space", CGRectMake(147, 212, 132, 42)}, {"return", CGRectMake(285, 212, 87, 42)},
    };
    EXPECT_EQ(frames.size(), 26u + 7u);
    for (const auto& c : cases) {
        auto it = frames.find(c.key);
        ASSERT_NE(it, frames.end()) << c.key;
        EXPECT_EQ(it->second, c.frame) << c.key;
    }
    // Nothing reaches past the keyboard or under the prediction bar.
    for (const auto& [key, frame] : frames) {
        EXPECT_GE(frame.minX(), 0) << key;
        EXPECT_LE(frame.maxX(), 375) << key;
        EXPECT_GE(frame.minY(), Keyboard::kPredictionBarHeight) << key;
        EXPECT_LE(frame.maxY(), Keyboard::kHeight) << key;
    }
}

TEST(KeyboardGeometry, DictationKeyDrawsAMicrophoneInsteadOfItsName) {
    auto layout = Keyboard::build(375);
    ASSERT_NE(layout, nullptr);
    auto root = make_view(CGRectMake(0, 0, 375, 260), rgba(0, 0, 0).get());
    root->addSubview(layout.get());
    layout->setBackgroundColor(rgba(0, 0, 0).get());
    const CGRect mic = key_frames(*layout).at("dictation");
    UIKBBlurredKeyView* key = nullptr;
    for (const auto& view : layout->subview_list())
        if (auto* k = dynamic_cast<UIKBBlurredKeyView*>(view.get()); k && k->frame() == mic)
            key = k;
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->label()->text(), nullptr) << "no text: the name would show as a word";
    const auto image = draw(*root);
    const Rgba face = pixel_at(image, mic.minX() + 4, mic.minY() + 4);
    const Rgba stem = pixel_at(image, mic.midX(), mic.midY() + 4);
    EXPECT_NE(stem, face) << "the microphone's stem shows on the key's face";
}

} // namespace
