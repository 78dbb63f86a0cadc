// The reply's entry bar: an audio button, the rounded field (cover view under the content view
// with its text view) and a send button.
#pragma once

#include "platform/messages/CKMessageEntryContentView.h"
#include "platform/messages/CKMessageEntryCoverView.h"
#include "platform/uikit/UIButton.h"

namespace platform::messages {

using platform::uikit::UIButton;

// The cover view is held in the instance variable "_coverView" and has no accessor message.
class CKMessageEntryView : public uikit::UIView {
  public:
    static Class runtime_class();
    static constexpr double kHeight = 44;

    CKMessageEntryView();

    UIButton* sendButton() const { return send_button_.get(); }
    UIButton* audioButton() const { return audio_button_.get(); }
    CKMessageEntryContentView* contentView() const { return content_view_.get(); }
    CKMessageEntryCoverView* cover_view() const { return cover_view_.get(); }

    void layoutSubviews();

  private:
    Ref<CKMessageEntryCoverView> cover_view_;
    Ref<CKMessageEntryContentView> content_view_;
    Ref<UIButton> send_button_;
    Ref<UIButton> audio_button_;
};

} // namespace platform::messages
