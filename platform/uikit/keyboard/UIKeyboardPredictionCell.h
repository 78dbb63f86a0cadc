// One cell of the keyboard's prediction bar: a suggested word.
#pragma once

#include <string>

#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

namespace platform::uikit {

// Each layout pass gives the word the colour that textColor answers, asked through the runtime.
class UIKeyboardPredictionCell : public UIView {
  public:
    static Class runtime_class();

    UIKeyboardPredictionCell();

    // The colour of the configured look.
    Ref<UIColor> textColor() const;
    void layoutSubviews();

    void set_prediction(const std::string& word);
    UILabel* label() const { return label_.get(); }

  private:
    Ref<UILabel> label_;
};

} // namespace platform::uikit
