// The part of the entry view that holds the text view.
#pragma once

#include "platform/messages/CKMessageEntryTextView.h"

namespace platform::messages {

class CKMessageEntryContentView : public uikit::UIView {
  public:
    static Class runtime_class();

    CKMessageEntryContentView();

    CKMessageEntryTextView* textView() const { return text_view_.get(); }
    // The text view fills the content view.
    void layoutSubviews();

  private:
    Ref<CKMessageEntryTextView> text_view_;
};

} // namespace platform::messages
