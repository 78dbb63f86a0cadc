#include "platform/uikit/keyboard/Keyboard.h"

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

constexpr double kRowPitch = 54;
constexpr double kKeyHeight = 42;
constexpr double kKeyGap = 6;
constexpr const char* kKeyplane = "small-letters";
const char* const kPredictions[Keyboard::kPredictionCells] = {"I", "The", "I'm"};

// The process's keyboard while one is up.
Ref<UIKeyboardLayout>& current() {
    static auto* keyboard = new Ref<UIKeyboardLayout>;
    return *keyboard;
}

uint64_t& shown_count() {
    static uint64_t count = 0;
    return count;
}

struct KeySpot {
    std::string label;
    double x, width;
};

// The keys of the letters keyplane, row by row, for a keyboard of the given width.
std::vector<std::vector<KeySpot>> key_rows(double width) {
    double pitch = width / 10;
    double key = pitch - kKeyGap;
    auto letters = [&](const std::string& row, double first_x) {
        std::vector<KeySpot> spots;
        for (size_t i = 0; i < row.size(); ++i)
            spots.push_back({std::string(1, row[i]), first_x + pitch * i, key});
        return spots;
    };
    auto row3 = letters("zxcvbnm", pitch * 1.5 + kKeyGap / 2);
    row3.insert(row3.begin(), {"⇧", kKeyGap / 2, pitch * 1.2});
    row3.push_back({"⌫", width - kKeyGap / 2 - pitch * 1.2, pitch * 1.2});
    double space_x = pitch * 1.3 + kKeyGap;
    double return_width = pitch * 2.5;
    return {
        letters("qwertyuiop", kKeyGap / 2),
        letters("asdfghjkl", pitch / 2 + kKeyGap / 2),
        row3,
        {{"123", kKeyGap / 2, pitch * 1.3},
         {"space", space_x, width - space_x - return_width - kKeyGap * 1.5},
         {"return", width - kKeyGap / 2 - return_width, return_width}},
    };
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
        double y = kPredictionBarHeight + kKeyGap + kRowPitch * r;
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

void Keyboard::show_in(UIWindow* window) {
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
    ++shown_count();
}

void Keyboard::dismiss() {
    Ref<UIKeyboardLayout> keyboard = std::move(current());
    current() = nullptr;
    if (keyboard)
        keyboard->removeFromSuperview();
}

UIKeyboardLayout* Keyboard::on_screen() {
    return current().get();
}

uint64_t Keyboard::times_shown() {
    return shown_count();
}

} // namespace platform::uikit
