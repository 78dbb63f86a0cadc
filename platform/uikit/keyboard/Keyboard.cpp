#include "platform/uikit/keyboard/Keyboard.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/foundation/NSString.h"
#include "platform/uikit/keyboard/UIKBBlurredKeyView.h"
#include "platform/uikit/keyboard/UIKeyboardPredictionCell.h"

namespace platform::uikit {

using namespace platform::runtime;
using foundation::CGRectMake;
using foundation::ns;

namespace {

// The iOS 9 keyboard of a 4.7-inch phone: 216 points of keys under the 44-point QuickType bar,
// four rows 54 points apart, key caps 32 x 42 with 6 points between them.
constexpr double kRowPitch = 54;
constexpr double kKeyHeight = 42;
constexpr double kKeyWidth = 32;
constexpr double kKeyGap = 6;
constexpr double kFirstRowTop = 6;
// Shift, delete and the keys of the bottom row beside space.
constexpr double kSideMargin = 3;
constexpr double kWideKeyWidth = 42;
constexpr double kReturnKeyWidth = 87;
constexpr const char* kKeyplane = "small-letters";
constexpr const char* kShiftKey = "⇧";
constexpr const char* kDeleteKey = "⌫";
constexpr const char* kSpaceKey = "space";
constexpr const char* kReturnKey = "return";
constexpr const char* kEmojiKey = "☺";
const char* const kPredictions[Keyboard::kPredictionCells] = {"I", "The", "I'm"};

// The process's keyboard while one is up.
Ref<UIKeyboardLayout>& current() {
    static auto* keyboard = new Ref<UIKeyboardLayout>;
    return *keyboard;
}

// Whoever brought the keyboard up, while it is up.
Ref<UIView>& current_client() {
    static auto* client = new Ref<UIView>;
    return *client;
}

bool& shift_on() {
    static bool on = false;
    return on;
}

uint64_t& shown_count() {
    static uint64_t count = 0;
    return count;
}

struct KeySpot {
    std::string label;
    double x, width;
};

// The keys of the letters keyplane, row by row, for a keyboard of the given width: each letter
// row centred, shift and delete at the sides of the third, and "123", emoji, dictation, space and
// return along the bottom.
std::vector<std::vector<KeySpot>> key_rows(double width) {
    const double pitch = kKeyWidth + kKeyGap;
    auto letters = [&](const std::string& row) {
        const double span = pitch * static_cast<double>(row.size()) - kKeyGap;
        const double first_x = (width - span) / 2;
        std::vector<KeySpot> spots;
        for (size_t i = 0; i < row.size(); ++i)
            spots.push_back({std::string(1, row[i]), first_x + pitch * static_cast<double>(i), kKeyWidth});
        return spots;
    };
    auto row3 = letters("zxcvbnm");
    row3.insert(row3.begin(), {kShiftKey, kSideMargin, kWideKeyWidth});
    row3.push_back({kDeleteKey, width - kSideMargin - kWideKeyWidth, kWideKeyWidth});
    const double wide_pitch = kWideKeyWidth + kKeyGap;
    const double space_x = kSideMargin + 3 * wide_pitch;
    const double return_x = width - kSideMargin - kReturnKeyWidth;
    return {
        letters("qwertyuiop"),
        letters("asdfghjkl"),
        row3,
        {{"123", kSideMargin, kWideKeyWidth},
         {kEmojiKey, kSideMargin + wide_pitch, kWideKeyWidth},
         {Keyboard::kDictationKey, kSideMargin + 2 * wide_pitch, kWideKeyWidth},
         {kSpaceKey, space_x, std::max(0.0, return_x - kKeyGap - space_x)},
         {kReturnKey, return_x, kReturnKeyWidth}},
    };
}

// Well-formed UTF-8: no stray or missing continuation bytes, overlong forms, surrogates or
// code points past U+10FFFF.
bool is_utf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x6  ? 2
                        : (lead >> 4) == 0xE  ? 3
                        : (lead >> 3) == 0x1E ? 4
                                              : 0;
        if (length == 0 || i + length > text.size())
            return false;
        uint32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

bool is_letter(const std::string& key) {
    return key.size() == 1 && std::isalpha(static_cast<unsigned char>(key[0]));
}

// Letter keys show capitals while shift is on, as the phone's keys do.
void show_shift(bool on) {
    shift_on() = on;
    UIKeyboardLayout* layout = current().get();
    if (!layout)
        return;
    for (const auto& view : layout->subview_list()) {
        auto* key = dynamic_cast<UIKBBlurredKeyView*>(view.get());
        const std::string* text = key ? foundation::string_of(key->key()) : nullptr;
        if (!text || !is_letter(*text))
            continue;
        const char c =
            static_cast<char>(on ? std::toupper(static_cast<unsigned char>((*text)[0])) : (*text)[0]);
        key->label()->setText(ns(std::string(1, c)).get());
        key->setNeedsDisplay();
    }
}

} // namespace

Ref<UIKeyboardLayout> Keyboard::build(double width) {
    auto layout = UIView::create<UIKeyboardLayout>(CGRectMake(0, 0, width, kHeight));
    if (!layout)
        return nullptr;
    double cell_width = width / kPredictionCells;
    for (int i = 0; i < kPredictionCells; ++i) {
        auto cell = UIView::create<UIKeyboardPredictionCell>(
            CGRectMake(cell_width * i, 0, cell_width, kPredictionBarHeight));
        if (!cell)
            continue;
        cell->set_prediction(kPredictions[i]);
        layout->addSubview(cell.get());
    }
    auto keyplane = ns(kKeyplane);
    auto rows = key_rows(width);
    for (size_t r = 0; r < rows.size(); ++r) {
        double y = kPredictionBarHeight + kFirstRowTop + kRowPitch * static_cast<double>(r);
        for (const auto& spot : rows[r]) {
            Ref<Object> key = class_createInstance(UIKBBlurredKeyView::runtime_class());
            auto view =
                msg<Ref<UIView>>(key, "initWithFrame:keyplane:key:"_sel,
                                 CGRectMake(spot.x, y, spot.width, kKeyHeight), keyplane, ns(spot.label));
            layout->addSubview(view.get());
        }
    }
    return layout;
}

void Keyboard::show_in(UIWindow* window, UIView* client) {
    dismiss();
    if (!window)
        return;
    auto keyboard = build(window->bounds().size.width);
    if (!keyboard)
        return;
    CGRect frame = keyboard->frame();
    frame.origin.y = window->bounds().size.height - kHeight;
    keyboard->setFrame(frame);
    window->addSubview(keyboard.get());
    current() = keyboard;
    current_client() = client;
    ++shown_count();
}

void Keyboard::dismiss() {
    Ref<UIKeyboardLayout> keyboard = std::move(current());
    current() = nullptr;
    current_client() = nullptr;
    shift_on() = false;
    if (keyboard)
        keyboard->removeFromSuperview();
}

UIView* Keyboard::client() {
    return current_client().get();
}

KeyOutcome Keyboard::type_text(std::string_view text) {
    Ref<UIView> client = current_client(); // typing may dismiss the keyboard
    if (!client || text.empty() || !msg<bool>(client, "respondsToSelector:"_sel, "insertText:"_sel))
        return {};
    if (!is_utf8(text))
        return {"", "refused: the text is not valid UTF-8"}; // nothing half-typed
    const std::string typed(text);
    msg(client, "insertText:"_sel, ns(typed));
    return {"key", typed};
}

KeyOutcome Keyboard::press_key(Key key) {
    Ref<UIView> client = current_client();
    if (!client)
        return {};
    switch (key) {
    case Key::Backspace:
        if (!msg<bool>(client, "respondsToSelector:"_sel, "deleteBackward"_sel))
            return {};
        msg(client, "deleteBackward"_sel);
        return {"key", "delete"};
    case Key::Return:
        return {"return", "return"};
    case Key::Shift:
        show_shift(!shift_on());
        return {"key", "shift"};
    }
    return {};
}

KeyOutcome Keyboard::tap(const UIKBBlurredKeyView& key) {
    const std::string* text = foundation::string_of(key.key());
    if (!text || !current_client())
        return {};
    if (*text == kShiftKey)
        return press_key(Key::Shift);
    if (*text == kDeleteKey)
        return press_key(Key::Backspace);
    if (*text == kReturnKey)
        return press_key(Key::Return);
    if (*text == kSpaceKey)
        return type_text(" ");
    if (!is_letter(*text))
        return {}; // "123", emoji and dictation: this keyboard has the letters keyplane only
    std::string letter = *text;
    if (shift_on()) {
        letter[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
        show_shift(false);
    }
    return type_text(letter);
}

UIKBBlurredKeyView* Keyboard::key_at(CGPoint point) {
    UIKeyboardLayout* layout = current().get();
    if (!layout)
        return nullptr;
    const CGRect b = layout->bounds();
    if (!(point.x >= 0 && point.x < b.size.width && point.y >= kPredictionBarHeight &&
          point.y < b.size.height))
        return nullptr;
    UIKBBlurredKeyView* nearest = nullptr;
    double best = 0;
    for (const auto& view : layout->subview_list()) {
        auto* key = dynamic_cast<UIKBBlurredKeyView*>(view.get());
        if (!key || key->isHidden())
            continue;
        const CGRect f = key->frame();
        const double dx = std::max({f.origin.x - point.x, 0.0, point.x - (f.origin.x + f.size.width)});
        const double dy = std::max({f.origin.y - point.y, 0.0, point.y - (f.origin.y + f.size.height)});
        const double distance = dx * dx + dy * dy;
        if (!nearest || distance < best) {
            nearest = key;
            best = distance;
        }
    }
    return nearest;
}

bool Keyboard::shifted() {
    return shift_on();
}

UIKeyboardLayout* Keyboard::on_screen() {
    return current().get();
}

uint64_t Keyboard::times_shown() {
    return shown_count();
}

} // namespace platform::uikit
