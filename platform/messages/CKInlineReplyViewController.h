// The Messages extension's quick-reply controller: a view that shows the message being
// answered and an entry bar whose text view brings the keyboard up.
#pragma once

#include <string>

#include "platform/messages/CKMessageEntryView.h"

namespace platform::messages {

// The host makes the controller, places its view and sends setupView through the runtime;
// setupView builds the view's contents, makes the text view first responder (the keyboard comes
// up) and sends updateSendButton. The send button is enabled while there is text, in the
// platform's blue, grey while disabled.
class CKInlineReplyViewController : public runtime::NSObject {
  public:
    static Class runtime_class();
    static constexpr double kHeaderHeight = 80;

    CKInlineReplyViewController() = default;
    ~CKInlineReplyViewController() override;

    // Gives the controller its view's frame and the message it answers.
    void prepare(foundation::CGRect frame, const std::string& sender, const std::string& message);

    uikit::UIView* view() const { return view_.get(); }
    CKMessageEntryView* entryView() const { return entry_view_.get(); }
    void setupView();
    void updateSendButton();

    // Types into the text view and sends updateSendButton, as each keystroke does.
    void type(const std::string& text);

  private:
    Ref<uikit::UIView> view_;
    Ref<CKMessageEntryView> entry_view_;
    std::string sender_;
    std::string message_;
};

} // namespace platform::messages
