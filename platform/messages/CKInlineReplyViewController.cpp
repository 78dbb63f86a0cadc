#include "platform/messages/CKInlineReplyViewController.h"

#include "platform/foundation/NSString.h"

namespace platform::messages {

using namespace platform::runtime;
using foundation::CGRect;
using foundation::CGRectMake;
using foundation::ns;
using uikit::UIControlStateDisabled;
using uikit::UIControlStateNormal;
using uikit::UIView;

namespace {
constexpr double kSideMargin = 16;
} // namespace

Class CKInlineReplyViewController::runtime_class() {
    static Class cls =
        ClassBuilder<CKInlineReplyViewController>("CKInlineReplyViewController", NSObject::runtime_class())
            .method<&CKInlineReplyViewController::view>("view")
            .method<&CKInlineReplyViewController::entryView>("entryView")
            .method<&CKInlineReplyViewController::setupView>("setupView")
            .method<&CKInlineReplyViewController::updateSendButton>("updateSendButton")
            .get();
    return cls;
}

CKInlineReplyViewController::~CKInlineReplyViewController() {
    if (entry_view_)
        entry_view_->contentView()->textView()->on_text_change = nullptr;
}

void CKInlineReplyViewController::prepare(CGRect frame, const std::string& sender,
                                          const std::string& message) {
    view_ = UIView::create<UIView>(frame);
    sender_ = sender;
    message_ = message;
}

void CKInlineReplyViewController::setupView() {
    if (!view_ || entry_view_)
        return; // set up once
    view_->setBackgroundColor(UIColor::colorWithRGBA(0.94, 0.94, 0.95, 1.0).get());
    CGRect b = view_->bounds();
    double width = b.size.width - 2 * kSideMargin;

    auto sender = UIView::create<UILabel>(CGRectMake(kSideMargin, 20, width, 24));
    sender->setText(ns(sender_).get());
    sender->setFont(uikit::UIFont::fontWithName(".SFUIText-Semibold", 17).get());
    auto message = UIView::create<UILabel>(CGRectMake(kSideMargin, 46, width, 24));
    message->setText(ns(message_).get());
    message->setTextColor(UIColor::colorWithRGBA(0.35, 0.35, 0.37, 1.0).get());
    view_->addSubview(sender.get());
    view_->addSubview(message.get());

    entry_view_ = UIView::create<CKMessageEntryView>(CGRectMake(
        0, b.size.height - CKMessageEntryView::kHeight, b.size.width, CKMessageEntryView::kHeight));
    view_->addSubview(entry_view_.get());
    entry_view_->layoutIfNeeded();
    // Keys typed on the keyboard update the send button as the host's own typing does. The
    // keyboard may hold the text view longer than we live, so the destructor unhooks this.
    entry_view_->contentView()->textView()->on_text_change = [this] { msg(this, "updateSendButton"_sel); };
    msg<bool>(entry_view_->contentView()->textView(), "becomeFirstResponder"_sel);
    msg(this, "updateSendButton"_sel);
}

void CKInlineReplyViewController::updateSendButton() {
    if (!entry_view_)
        return;
    UIButton* send = entry_view_->sendButton();
    send->setEnabled(!entry_view_->contentView()->textView()->text().empty());
    send->setTitleColorForState(UIColor::colorWithRGBA(0.0, 122.0 / 255.0, 1.0, 1.0).get(),
                                UIControlStateNormal);
    send->setTitleColorForState(UIColor::colorWithRGBA(0.56, 0.56, 0.58, 1.0).get(), UIControlStateDisabled);
}

void CKInlineReplyViewController::type(const std::string& text) {
    if (!entry_view_)
        return;
    entry_view_->contentView()->textView()->insert_text(text);
    msg(this, "updateSendButton"_sel);
}

} // namespace platform::messages
