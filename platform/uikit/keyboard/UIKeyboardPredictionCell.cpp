#include "platform/uikit/keyboard/UIKeyboardPredictionCell.h"

#include "platform/uikit/keyboard/UIKBRenderConfig.h"

namespace platform::uikit {

using namespace platform::runtime;

Class UIKeyboardPredictionCell::runtime_class() {
    static Class cls =
        ClassBuilder<UIKeyboardPredictionCell>("UIKeyboardPredictionCell", UIView::runtime_class())
            .method<&UIKeyboardPredictionCell::textColor>("textColor")
            .method<&UIKeyboardPredictionCell::layoutSubviews>("layoutSubviews")
            .get();
    return cls;
}

UIKeyboardPredictionCell::UIKeyboardPredictionCell() : label_(make_object<UILabel>()) {
    label_->setTextAlignment(NSTextAlignmentCenter);
    label_->setFont(UIFont::systemFontOfSize(16).get());
    addSubview(label_.get());
}

Ref<UIColor> UIKeyboardPredictionCell::textColor() const {
    return UIKBRenderConfig::prediction_text_colour(keyboard_is_light());
}

void UIKeyboardPredictionCell::layoutSubviews() {
    label_->setFrame(bounds());
    auto colour = msg<Ref<UIColor>>(this, "textColor"_sel);
    label_->setTextColor(colour.get());
}

void UIKeyboardPredictionCell::set_prediction(const std::string& word) {
    label_->setText(foundation::ns(word).get());
    setNeedsLayout();
}

} // namespace platform::uikit
