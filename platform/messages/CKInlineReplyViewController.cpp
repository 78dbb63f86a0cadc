#include "platform/messages/CKInlineReplyViewController.h"

#include <algorithm>

#include "platform/foundation/NSString.h"
#include "platform/uikit/_UIBackdropView.h"

namespace platform::messages {

using namespace platform::runtime;
using foundation::CGRect;
using foundation::CGRectMake;
using foundation::ns;
using uikit::UIControlStateDisabled;
using uikit::UIControlStateNormal;
using uikit::UIView;

namespace {
// The banner grown down into a sheet: the sender and message at the top, the entry row under
// them, over the screen dimmed behind.
constexpr double kSideMargin = 15;
constexpr double kSenderTop = 10;
constexpr double kMessageTop = 32;
constexpr double kLineHeight = 22;
constexpr double kEntryTop = 62;
constexpr double kSheetBottomPadding = 8;
constexpr double kDim = 0.4;
constexpr int64_t kSheetBackdropStyle = 2030;
constexpr double kSheetBlurRadius = 20;
constexpr double kSheetTintAlpha = 0.55;

Ref<UIView> make_sheet(CGRect frame) {
    auto sheet = UIView::create<UIView>(frame);
    sheet->setClipsToBounds(true);
    Ref<Object> instance = class_createInstance(uikit::UIBackdropView::runtime_class());
    auto backdrop = msg<Ref<uikit::UIBackdropView>>(instance, "initWithStyle:"_sel, kSheetBackdropStyle);
    backdrop->setBlurRadius(kSheetBlurRadius);
    backdrop->inputSettings()->setColorTint(UIColor::blackColor().get());
    backdrop->inputSettings()->setColorTintAlpha(kSheetTintAlpha);
    sheet->addSubview(backdrop.get());
    return sheet;
}
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
    view_->setBackgroundColor(UIColor::colorWithRGBA(0, 0, 0, kDim).get());
    CGRect b = view_->bounds();
    double width = b.size.width - 2 * kSideMargin;
    const double sheet_height =
        std::min(b.size.height, kEntryTop + CKMessageEntryView::kHeight + kSheetBottomPadding);
    view_->addSubview(make_sheet(CGRectMake(0, 0, b.size.width, sheet_height)).get());

    auto sender = UIView::create<UILabel>(CGRectMake(kSideMargin, kSenderTop, width, kLineHeight));
    sender->setText(ns(sender_).get());
    sender->setFont(uikit::UIFont::fontWithName(".SFUIText-Semibold", 15).get());
    sender->setTextColor(UIColor::whiteColor().get());
    auto message = UIView::create<UILabel>(CGRectMake(kSideMargin, kMessageTop, width, kLineHeight));
    message->setText(ns(message_).get());
    message->setFont(uikit::UIFont::systemFontOfSize(15).get());
    message->setTextColor(UIColor::whiteColor().get());
    view_->addSubview(sender.get());
    view_->addSubview(message.get());

    entry_view_ = UIView::create<CKMessageEntryView>(
        CGRectMake(0, std::min(kEntryTop, b.size.height - CKMessageEntryView::kHeight), b.size.width,
                   CKMessageEntryView::kHeight));
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
